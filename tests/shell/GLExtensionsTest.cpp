// The extension loader without an OpenGL context: the whole-word search, the probe over a given list, and
// the guarded calls with and without entry points.
#include "shell/GLExtensions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/LogRecorder.h"

namespace {

bool listed(const char* list, const char* name) {
    return GLExtensions::isExtensionInList(list, name);
}

TEST(GLExtensionsTest, SearchMatchesWholeWordsOnly) {
    EXPECT_TRUE(listed("GL_ARB_multitexture", "GL_ARB_multitexture"));
    EXPECT_TRUE(listed("GL_A GL_ARB_multitexture GL_B", "GL_ARB_multitexture"));
    EXPECT_TRUE(listed("GL_A GL_ARB_multitexture", "GL_ARB_multitexture"));
    EXPECT_TRUE(listed("GL_ARB_multitexture ", "GL_ARB_multitexture"));

    // The name with further characters attached, before or after, is another extension.
    EXPECT_FALSE(listed("GL_ARB_multitexture_foo GL_EXT_bar", "GL_ARB_multitexture"));
    EXPECT_FALSE(listed("XGL_ARB_multitexture", "GL_ARB_multitexture"));
    EXPECT_FALSE(listed("GL_ARB_vertex_program2", "GL_ARB_vertex_program"));
    EXPECT_FALSE(listed("GL_EXT_x GL_ARB_vertex_program2 GL_EXT_y", "GL_ARB_vertex_program"));

    // A longer name earlier does not hide the exact name later.
    EXPECT_TRUE(listed("GL_ARB_vertex_program2 GL_ARB_vertex_program", "GL_ARB_vertex_program"));
    EXPECT_TRUE(listed("GL_ARB_vertex_program2 GL_X GL_ARB_vertex_program GL_Y", "GL_ARB_vertex_program"));

    // Two occurrences run together form one unknown word, not the name.
    EXPECT_FALSE(listed("GL_fooGL_foo", "GL_foo"));
    EXPECT_FALSE(listed("GL_A GL_fooGL_foo GL_B", "GL_foo"));
}

TEST(GLExtensionsTest, SearchRefusesNamesWithBlanksEmptyNamesAndMissingLists) {
    EXPECT_FALSE(listed("GL_A GL_B", "GL_A GL_B"));
    EXPECT_FALSE(listed("GL_A GL_B", "GL_A "));
    EXPECT_FALSE(listed("GL_A GL_B", ""));
    EXPECT_FALSE(listed("", "GL_A"));
    EXPECT_FALSE(listed(nullptr, "GL_A"));
    EXPECT_FALSE(listed("GL_A", nullptr));
}

TEST(GLExtensionsTest, ProbeLogsFoundExtensionsInItsOwnOrder) {
    LogRecorder rec;
    GLExtensions all(
        "GL_ARB_fragment_program GL_ARB_vertex_program GL_EXT_other GL_ARB_vertex_buffer_object "
        "GL_ARB_multitexture");
    EXPECT_EQ((std::vector<std::string>{
                  "GL_ARB_multitexture extension found", "GL_ARB_vertex_buffer_object extension found",
                  "GL_ARB_vertex_program extension found", "GL_ARB_fragment_program extension found"}),
              rec.lines());
    EXPECT_TRUE(all.hasMultitexture());
    EXPECT_TRUE(all.hasVertexBufferObject());
    EXPECT_TRUE(all.hasVertexProgram());
    EXPECT_TRUE(all.hasFragmentProgram());
}

TEST(GLExtensionsTest, FragmentProgramCountsOnlyWithVertexProgram) {
    LogRecorder rec;
    GLExtensions probe("GL_ARB_fragment_program GL_ARB_multitexture GL_ARB_vertex_program2");
    EXPECT_EQ(std::vector<std::string>{"GL_ARB_multitexture extension found"}, rec.lines());
    EXPECT_TRUE(probe.hasMultitexture());
    EXPECT_FALSE(probe.hasVertexProgram());
    EXPECT_FALSE(probe.hasFragmentProgram());
    EXPECT_FALSE(probe.hasVertexBufferObject());
}

TEST(GLExtensionsTest, WithoutAContextNothingIsFoundAndNothingLogged) {
    LogRecorder rec;
    GLExtensions* loader = createGLExtensions();
    ASSERT_NE(nullptr, loader);
    EXPECT_FALSE(loader->isExtensionSupported("GL_ARB_multitexture"));
    EXPECT_FALSE(loader->hasMultitexture());
    EXPECT_FALSE(loader->hasVertexBufferObject());
    EXPECT_FALSE(loader->hasVertexProgram());
    EXPECT_FALSE(loader->hasFragmentProgram());
    EXPECT_TRUE(rec.lines().empty()) << rec.text();
    destroyGLExtensions();
}

void clearEntryPoints() {
    glentry::glActiveTextureARB = nullptr;
    glentry::glClientActiveTextureARB = nullptr;
    glentry::glMultiTexCoord3fARB = nullptr;
    glentry::glBindBufferARB = nullptr;
    glentry::glGenBuffersARB = nullptr;
    glentry::glBufferDataARB = nullptr;
    glentry::glDeleteBuffersARB = nullptr;
    glentry::glProgramStringARB = nullptr;
    glentry::glBindProgramARB = nullptr;
    glentry::glDeleteProgramsARB = nullptr;
    glentry::glGenProgramsARB = nullptr;
    glentry::glProgramLocalParameter4fvARB = nullptr;
}

void callEveryWrapper() {
    GLuint names[2] = {7, 8};
    const GLfloat params[4] = {1, 2, 3, 4};
    GLExtensions::glActiveTextureARB(GL_TEXTURE1_ARB);
    GLExtensions::glClientActiveTextureARB(GL_TEXTURE2_ARB);
    GLExtensions::glMultiTexCoord3fARB(GL_TEXTURE3_ARB, 0.5f, 1.5f, 2.5f);
    GLExtensions::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 11);
    GLExtensions::glGenBuffersARB(2, names);
    GLExtensions::glBufferDataARB(GL_ARRAY_BUFFER_ARB, 64, params, GL_STATIC_DRAW_ARB);
    GLExtensions::glDeleteBuffersARB(2, names);
    GLExtensions::glProgramStringARB(GL_VERTEX_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB, 5, "!!ARB");
    GLExtensions::glBindProgramARB(GL_VERTEX_PROGRAM_ARB, 12);
    GLExtensions::glDeleteProgramsARB(1, names);
    GLExtensions::glGenProgramsARB(1, names);
    GLExtensions::glProgramLocalParameter4fvARB(GL_VERTEX_PROGRAM_ARB, 3, params);
}

TEST(GLExtensionsTest, EveryGuardedCallComplainsWhenItsEntryPointIsMissing) {
    clearEntryPoints();
    LogRecorder rec;
    callEveryWrapper();
    const std::string tail = " called without corresponding OpenGL extension support";
    std::vector<std::string> expected;
    for (const char* name :
         {"glActiveTextureARB", "glClientActiveTextureARB", "glMultiTexCoord3fARB", "glBindBufferARB",
          "glGenBuffersARB", "glBufferDataARB", "glDeleteBuffersARB", "glProgramStringARB",
          "glBindProgramARB", "glDeleteProgramsARB", "glGenProgramsARB", "glProgramLocalParameter4fvARB"}) {
        expected.push_back(name + tail);
    }
    EXPECT_EQ(expected, rec.lines());
}

// What the stand-in entry points were called with, one entry per call.
std::vector<std::string>& calls() {
    static std::vector<std::string> list;
    return list;
}

void record(const std::string& call) {
    calls().push_back(call);
}

TEST(GLExtensionsTest, GuardedCallsForwardTheirArgumentsToTheEntryPoints) {
    calls().clear();
    glentry::glActiveTextureARB = [](GLenum t) { record("active " + std::to_string(t)); };
    glentry::glClientActiveTextureARB = [](GLenum t) { record("client " + std::to_string(t)); };
    glentry::glMultiTexCoord3fARB = [](GLenum target, GLfloat s, GLfloat t, GLfloat r) {
        record("coord " + std::to_string(target) + " " + std::to_string(s) + " " + std::to_string(t) + " " +
               std::to_string(r));
    };
    glentry::glBindBufferARB = [](GLenum target, GLuint b) {
        record("bindbuf " + std::to_string(target) + " " + std::to_string(b));
    };
    glentry::glGenBuffersARB = [](GLsizei n, GLuint* b) {
        b[n - 1] = 99;
        record("genbuf " + std::to_string(n));
    };
    glentry::glBufferDataARB = [](GLenum target, GLsizeiptrARB size, const void* data, GLenum usage) {
        record("data " + std::to_string(target) + " " + std::to_string(size) + " " +
               std::to_string(static_cast<const GLfloat*>(data)[3]) + " " + std::to_string(usage));
    };
    glentry::glDeleteBuffersARB = [](GLsizei n, const GLuint* b) {
        record("delbuf " + std::to_string(n) + " " + std::to_string(b[0]));
    };
    glentry::glProgramStringARB = [](GLenum target, GLenum format, GLsizei len, const void* text) {
        record("progstr " + std::to_string(target) + " " + std::to_string(format) + " " +
               std::string(static_cast<const char*>(text), static_cast<size_t>(len)));
    };
    glentry::glBindProgramARB = [](GLenum target, GLuint p) {
        record("bindprog " + std::to_string(target) + " " + std::to_string(p));
    };
    glentry::glDeleteProgramsARB = [](GLsizei n, const GLuint* p) {
        record("delprog " + std::to_string(n) + " " + std::to_string(p[0]));
    };
    glentry::glGenProgramsARB = [](GLsizei n, GLuint*) { record("genprog " + std::to_string(n)); };
    glentry::glProgramLocalParameter4fvARB = [](GLenum target, GLuint index, const GLfloat* p) {
        record("local " + std::to_string(target) + " " + std::to_string(index) + " " + std::to_string(p[2]));
    };

    LogRecorder rec;
    callEveryWrapper();
    EXPECT_TRUE(rec.lines().empty()) << rec.text();
    const std::string vp = std::to_string(GL_VERTEX_PROGRAM_ARB);
    const std::string ab = std::to_string(GL_ARRAY_BUFFER_ARB);
    EXPECT_EQ((std::vector<std::string>{
                  "active " + std::to_string(GL_TEXTURE1_ARB),
                  "client " + std::to_string(GL_TEXTURE2_ARB),
                  "coord " + std::to_string(GL_TEXTURE3_ARB) + " 0.500000 1.500000 2.500000",
                  "bindbuf " + ab + " 11",
                  "genbuf 2",
                  "data " + ab + " 64 4.000000 " + std::to_string(GL_STATIC_DRAW_ARB),
                  "delbuf 2 7",  // the second name was generated as 99; the first is still 7
                  "progstr " + vp + " " + std::to_string(GL_PROGRAM_FORMAT_ASCII_ARB) + " !!ARB",
                  "bindprog " + vp + " 12",
                  "delprog 1 7",
                  "genprog 1",
                  "local " + vp + " 3 3.000000",
              }),
              calls());
    clearEntryPoints();
}

}  // namespace
