// The extension loader against the driver's real context: the lines it logs follow the context's own
// extension list, and the fetched entry points work.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "shell/GLExtensions.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/LogRecorder.h"

namespace {

std::set<std::string> contextExtensionWords() {
    std::set<std::string> words;
    std::istringstream in(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
    std::string word;
    while (in >> word) {
        words.insert(word);
    }
    return words;
}

TEST(GLExtensionsGLTest, LogsTheContextsExtensionsAndFetchesTheirEntryPoints) {
    ASSERT_TRUE(GLTestContext::ensure());
    const std::set<std::string> words = contextExtensionWords();
    // Every context this program meets has multitexturing; without it the check below would be empty.
    ASSERT_EQ(1u, words.count("GL_ARB_multitexture"));

    std::vector<std::string> expected;
    const bool vertexProgram = words.count("GL_ARB_vertex_program") > 0;
    for (const char* name : {"GL_ARB_multitexture", "GL_ARB_vertex_buffer_object", "GL_ARB_vertex_program"}) {
        if (words.count(name) > 0) {
            expected.push_back(std::string(name) + " extension found");
        }
    }
    if (vertexProgram && words.count("GL_ARB_fragment_program") > 0) {
        expected.push_back("GL_ARB_fragment_program extension found");
    }

    LogRecorder rec;
    GLExtensions* loader = createGLExtensions();
    ASSERT_NE(nullptr, loader);
    EXPECT_EQ(expected, rec.lines());
    EXPECT_TRUE(loader->hasMultitexture());
    EXPECT_EQ(words.count("GL_ARB_vertex_buffer_object") > 0, loader->hasVertexBufferObject());
    EXPECT_EQ(vertexProgram, loader->hasVertexProgram());
    EXPECT_TRUE(loader->isExtensionSupported("GL_ARB_multitexture"));
    EXPECT_FALSE(loader->isExtensionSupported("GL_ARB_multitex"));

    EXPECT_NE(nullptr, glentry::glActiveTextureARB);
    EXPECT_NE(nullptr, glentry::glClientActiveTextureARB);
    EXPECT_NE(nullptr, glentry::glMultiTexCoord3fARB);
    if (loader->hasVertexBufferObject()) {
        EXPECT_NE(nullptr, glentry::glBindBufferARB);
        EXPECT_NE(nullptr, glentry::glGenBuffersARB);
        EXPECT_NE(nullptr, glentry::glBufferDataARB);
        EXPECT_NE(nullptr, glentry::glDeleteBuffersARB);
    }
    if (vertexProgram) {
        EXPECT_NE(nullptr, glentry::glProgramStringARB);
        EXPECT_NE(nullptr, glentry::glBindProgramARB);
        EXPECT_NE(nullptr, glentry::glDeleteProgramsARB);
        EXPECT_NE(nullptr, glentry::glGenProgramsARB);
        EXPECT_NE(nullptr, glentry::glProgramLocalParameter4fvARB);
    }

    // Building again replaces the loader and probes again; the entry points outlive it.
    rec.clear();
    ASSERT_NE(nullptr, createGLExtensions());
    EXPECT_EQ(expected, rec.lines());
    destroyGLExtensions();
    EXPECT_NE(nullptr, glentry::glActiveTextureARB);
}

TEST(GLExtensionsGLTest, GuardedCallsReachTheDriver) {
    ASSERT_TRUE(GLTestContext::ensure());
    GLTestContext::reset();
    GLExtensions* loader = createGLExtensions();
    ASSERT_NE(nullptr, loader);
    LogRecorder rec;

    GLExtensions::glActiveTextureARB(GL_TEXTURE1_ARB);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    EXPECT_EQ(GL_TEXTURE1_ARB, active);
    GLExtensions::glActiveTextureARB(GL_TEXTURE0_ARB);

    if (loader->hasVertexBufferObject()) {
        GLuint buffer = 0;
        GLExtensions::glGenBuffersARB(1, &buffer);
        EXPECT_NE(0u, buffer);
        GLExtensions::glBindBufferARB(GL_ARRAY_BUFFER_ARB, buffer);
        GLint bound = 0;
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING_ARB, &bound);
        EXPECT_EQ(static_cast<GLint>(buffer), bound);
        const GLfloat data[3] = {1, 2, 3};
        GLExtensions::glBufferDataARB(GL_ARRAY_BUFFER_ARB, sizeof data, data, GL_STATIC_DRAW_ARB);
        GLExtensions::glDeleteBuffersARB(1, &buffer);
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING_ARB, &bound);
        EXPECT_EQ(0, bound);
    }

    if (loader->hasVertexProgram()) {
        GLuint program = 0;
        GLExtensions::glGenProgramsARB(1, &program);
        EXPECT_NE(0u, program);
        GLExtensions::glBindProgramARB(GL_VERTEX_PROGRAM_ARB, program);
        const char* text = "!!ARBvp1.0\nMOV result.position, vertex.position;\nEND\n";
        GLExtensions::glProgramStringARB(GL_VERTEX_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB,
                                         static_cast<GLsizei>(std::strlen(text)), text);
        const GLfloat local[4] = {1, 2, 3, 4};
        GLExtensions::glProgramLocalParameter4fvARB(GL_VERTEX_PROGRAM_ARB, 0, local);
        GLExtensions::glBindProgramARB(GL_VERTEX_PROGRAM_ARB, 0);
        GLExtensions::glDeleteProgramsARB(1, &program);
    }
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
    EXPECT_TRUE(rec.lines().empty()) << rec.text();
    destroyGLExtensions();
}

}  // namespace
