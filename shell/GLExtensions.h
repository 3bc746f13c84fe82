#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

// The ARB entry points the driver hands out at run time, looked up by name when the extension loader is
// built. Process-wide, null until then, and kept after the loader is gone. They live in a namespace of their
// own because the system GL header already declares functions with these names.
namespace glentry {
extern PFNGLACTIVETEXTUREARBPROC glActiveTextureARB;
extern PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB;
extern PFNGLMULTITEXCOORD3FARBPROC glMultiTexCoord3fARB;
extern PFNGLBINDBUFFERARBPROC glBindBufferARB;
extern PFNGLGENBUFFERSARBPROC glGenBuffersARB;
extern PFNGLBUFFERDATAARBPROC glBufferDataARB;
extern PFNGLDELETEBUFFERSARBPROC glDeleteBuffersARB;
extern PFNGLPROGRAMSTRINGARBPROC glProgramStringARB;
extern PFNGLBINDPROGRAMARBPROC glBindProgramARB;
extern PFNGLDELETEPROGRAMSARBPROC glDeleteProgramsARB;
extern PFNGLGENPROGRAMSARBPROC glGenProgramsARB;
extern PFNGLPROGRAMLOCALPARAMETER4FVARBPROC glProgramLocalParameter4fvARB;
}  // namespace glentry

// Probes the current OpenGL context for the ARB extensions the program can use, fetches their entry points
// and logs one line per extension found. Needs a current context when built.
class GLExtensions {
  public:
    GLExtensions();
    // Probes a given space-separated list instead of the context's, so the probe can be checked without a
    // context. The entry points are still fetched from the driver.
    explicit GLExtensions(const char* extensions);
    virtual ~GLExtensions();
    GLExtensions(const GLExtensions&) = delete;
    GLExtensions& operator=(const GLExtensions&) = delete;

    // Whether the current context lists `name` as a whole word among its extensions.
    bool isExtensionSupported(const char* name) const;
    // The same search over a given space-separated list; false for a null list or name.
    static bool isExtensionInList(const char* extensions, const char* name);

    bool hasMultitexture() const { return m_hasMultitexture; }
    bool hasFragmentProgram() const { return m_hasFragmentProgram; }
    bool hasVertexProgram() const { return m_hasVertexProgram; }
    bool hasVertexBufferObject() const { return m_hasVertexBufferObject; }

    // Guarded calls: each forwards to its entry point, or logs a complaint when the driver did not give one.
    static void glActiveTextureARB(GLenum texture);
    static void glClientActiveTextureARB(GLenum texture);
    static void glMultiTexCoord3fARB(GLenum target, GLfloat s, GLfloat t, GLfloat r);
    static void glBindBufferARB(GLenum target, GLuint buffer);
    static void glGenBuffersARB(GLsizei n, GLuint* buffers);
    static void glBufferDataARB(GLenum target, GLsizeiptrARB size, const void* data, GLenum usage);
    static void glDeleteBuffersARB(GLsizei n, const GLuint* buffers);
    static void glProgramStringARB(GLenum target, GLenum format, GLsizei length, const void* text);
    static void glBindProgramARB(GLenum target, GLuint program);
    static void glDeleteProgramsARB(GLsizei n, const GLuint* programs);
    static void glGenProgramsARB(GLsizei n, GLuint* programs);
    static void glProgramLocalParameter4fvARB(GLenum target, GLuint index, const GLfloat* params);

  private:
    void probe(const char* extensions);

    bool m_hasMultitexture = false;
    bool m_hasFragmentProgram = false;
    bool m_hasVertexProgram = false;
    bool m_hasVertexBufferObject = false;
};

// The process-wide loader: create destroys any existing instance first and returns the new one.
GLExtensions* createGLExtensions();
void destroyGLExtensions();
