#include "shell/GLExtensions.h"

#include <GL/glx.h>

#include <cstring>
#include <memory>

#include "shell/GLEntryPoints.h"
#include "shell/Log.h"

namespace glentry {
PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
PFNGLMULTITEXCOORD3FARBPROC glMultiTexCoord3fARB = nullptr;
PFNGLBINDBUFFERARBPROC glBindBufferARB = nullptr;
PFNGLGENBUFFERSARBPROC glGenBuffersARB = nullptr;
PFNGLBUFFERDATAARBPROC glBufferDataARB = nullptr;
PFNGLDELETEBUFFERSARBPROC glDeleteBuffersARB = nullptr;
PFNGLPROGRAMSTRINGARBPROC glProgramStringARB = nullptr;
PFNGLBINDPROGRAMARBPROC glBindProgramARB = nullptr;
PFNGLDELETEPROGRAMSARBPROC glDeleteProgramsARB = nullptr;
PFNGLGENPROGRAMSARBPROC glGenProgramsARB = nullptr;
PFNGLPROGRAMLOCALPARAMETER4FVARBPROC glProgramLocalParameter4fvARB = nullptr;
}  // namespace glentry

namespace {

std::unique_ptr<GLExtensions> g_glExtensions;

// Null without a current context; nothing is then listed.
const char* contextExtensions() {
    return reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
}

}  // namespace

GLExtensions::GLExtensions() {
    probe(contextExtensions());
}

GLExtensions::GLExtensions(const char* extensions) {
    probe(extensions);
}

void GLExtensions::probe(const char* extensions) {
    auto isListed = [extensions](const char* name) { return isExtensionInList(extensions, name); };
    if (isListed("GL_ARB_multitexture")) {
        fetchGLEntryPoint(glentry::glActiveTextureARB, "glActiveTextureARB");
        fetchGLEntryPoint(glentry::glClientActiveTextureARB, "glClientActiveTextureARB");
        fetchGLEntryPoint(glentry::glMultiTexCoord3fARB, "glMultiTexCoord3fARB");
        logMessage("GL_ARB_multitexture extension found");
        m_hasMultitexture = true;
    }
    if (isListed("GL_ARB_vertex_buffer_object")) {
        fetchGLEntryPoint(glentry::glBindBufferARB, "glBindBufferARB");
        fetchGLEntryPoint(glentry::glGenBuffersARB, "glGenBuffersARB");
        fetchGLEntryPoint(glentry::glBufferDataARB, "glBufferDataARB");
        fetchGLEntryPoint(glentry::glDeleteBuffersARB, "glDeleteBuffersARB");
        logMessage("GL_ARB_vertex_buffer_object extension found");
        m_hasVertexBufferObject = true;
    }
    if (isListed("GL_ARB_vertex_program")) {
        fetchGLEntryPoint(glentry::glProgramStringARB, "glProgramStringARB");
        fetchGLEntryPoint(glentry::glBindProgramARB, "glBindProgramARB");
        fetchGLEntryPoint(glentry::glDeleteProgramsARB, "glDeleteProgramsARB");
        fetchGLEntryPoint(glentry::glGenProgramsARB, "glGenProgramsARB");
        fetchGLEntryPoint(glentry::glProgramLocalParameter4fvARB, "glProgramLocalParameter4fvARB");
        logMessage("GL_ARB_vertex_program extension found");
        m_hasVertexProgram = true;
    }
    // Fragment programs are only of use together with vertex programs.
    if (m_hasVertexProgram && isListed("GL_ARB_fragment_program")) {
        logMessage("GL_ARB_fragment_program extension found");
        m_hasFragmentProgram = true;
    }
}

GLExtensions::~GLExtensions() = default;

bool GLExtensions::isExtensionSupported(const char* name) const {
    if (name == nullptr || *name == '\0' || std::strchr(name, ' ') != nullptr) {
        return false;
    }
    return isExtensionInList(contextExtensions(), name);
}

bool GLExtensions::isExtensionInList(const char* extensions, const char* name) {
    if (extensions == nullptr || name == nullptr || *name == '\0' || std::strchr(name, ' ') != nullptr) {
        return false;
    }
    const size_t length = std::strlen(name);
    const char* start = extensions;
    while (const char* where = std::strstr(start, name)) {
        const char* end = where + length;
        // A word begins at the start of the whole list or after a blank. The previous occurrence's end is
        // no word start: "GL_fooGL_foo" does not list GL_foo.
        const bool wordStart = where == extensions || where[-1] == ' ';
        if (wordStart && (*end == ' ' || *end == '\0')) {
            return true;
        }
        start = end;
    }
    return false;
}

// Each guarded call checks its pointer at the moment of the call, so a pointer set or cleared later counts.
#define TESS_GUARDED_CALL(function, ...)                                                    \
    do {                                                                                    \
        if (glentry::function == nullptr) {                                                 \
            logMessage(#function " called without corresponding OpenGL extension support"); \
            return;                                                                         \
        }                                                                                   \
        glentry::function(__VA_ARGS__);                                                     \
    } while (false)

void GLExtensions::glActiveTextureARB(GLenum texture) {
    TESS_GUARDED_CALL(glActiveTextureARB, texture);
}

void GLExtensions::glClientActiveTextureARB(GLenum texture) {
    TESS_GUARDED_CALL(glClientActiveTextureARB, texture);
}

void GLExtensions::glMultiTexCoord3fARB(GLenum target, GLfloat s, GLfloat t, GLfloat r) {
    TESS_GUARDED_CALL(glMultiTexCoord3fARB, target, s, t, r);
}

void GLExtensions::glBindBufferARB(GLenum target, GLuint buffer) {
    TESS_GUARDED_CALL(glBindBufferARB, target, buffer);
}

void GLExtensions::glGenBuffersARB(GLsizei n, GLuint* buffers) {
    TESS_GUARDED_CALL(glGenBuffersARB, n, buffers);
}

void GLExtensions::glBufferDataARB(GLenum target, GLsizeiptrARB size, const void* data, GLenum usage) {
    TESS_GUARDED_CALL(glBufferDataARB, target, size, data, usage);
}

void GLExtensions::glDeleteBuffersARB(GLsizei n, const GLuint* buffers) {
    TESS_GUARDED_CALL(glDeleteBuffersARB, n, buffers);
}

void GLExtensions::glProgramStringARB(GLenum target, GLenum format, GLsizei length, const void* text) {
    TESS_GUARDED_CALL(glProgramStringARB, target, format, length, text);
}

void GLExtensions::glBindProgramARB(GLenum target, GLuint program) {
    TESS_GUARDED_CALL(glBindProgramARB, target, program);
}

void GLExtensions::glDeleteProgramsARB(GLsizei n, const GLuint* programs) {
    TESS_GUARDED_CALL(glDeleteProgramsARB, n, programs);
}

void GLExtensions::glGenProgramsARB(GLsizei n, GLuint* programs) {
    TESS_GUARDED_CALL(glGenProgramsARB, n, programs);
}

void GLExtensions::glProgramLocalParameter4fvARB(GLenum target, GLuint index, const GLfloat* params) {
    TESS_GUARDED_CALL(glProgramLocalParameter4fvARB, target, index, params);
}

#undef TESS_GUARDED_CALL

GLExtensions* createGLExtensions() {
    destroyGLExtensions();
    g_glExtensions = std::make_unique<GLExtensions>();
    return g_glExtensions.get();
}

void destroyGLExtensions() {
    g_glExtensions.reset();
}
