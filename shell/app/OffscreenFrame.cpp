#include "shell/app/OffscreenFrame.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glx.h>

#include <cstring>

#include "shell/GLEntryPoints.h"

namespace {

// The entry points, fetched once a context offers framebuffer objects.
struct Framebuffers {
    PFNGLGENFRAMEBUFFERSPROC gen = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC remove = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bind = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRender = nullptr;
    PFNGLDELETERENDERBUFFERSPROC removeRender = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRender = nullptr;
    PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC storage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC attach = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC status = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blit = nullptr;
    bool ready = false;
};

// The extension, or the version that made framebuffer objects core.
bool contextHasFramebuffers() {
    return glContextHasExtension("GL_ARB_framebuffer_object") || glContextVersion() >= 30;
}

const Framebuffers* framebuffers() {
    static Framebuffers fb;
    if (!fb.ready && contextHasFramebuffers()) {
        fetchGLEntryPoint(fb.gen, "glGenFramebuffers");
        fetchGLEntryPoint(fb.remove, "glDeleteFramebuffers");
        fetchGLEntryPoint(fb.bind, "glBindFramebuffer");
        fetchGLEntryPoint(fb.genRender, "glGenRenderbuffers");
        fetchGLEntryPoint(fb.removeRender, "glDeleteRenderbuffers");
        fetchGLEntryPoint(fb.bindRender, "glBindRenderbuffer");
        fetchGLEntryPoint(fb.storage, "glRenderbufferStorageMultisample");
        fetchGLEntryPoint(fb.attach, "glFramebufferRenderbuffer");
        fetchGLEntryPoint(fb.status, "glCheckFramebufferStatus");
        fetchGLEntryPoint(fb.blit, "glBlitFramebuffer");
        fb.ready = fb.gen && fb.remove && fb.bind && fb.genRender && fb.removeRender && fb.bindRender &&
                   fb.storage && fb.attach && fb.status && fb.blit;
    }
    return fb.ready ? &fb : nullptr;
}

// The window's sample count, so that edges look the same in a picture as on the screen.
int windowSamples() {
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    GLint limit = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &limit);
    return samples < limit ? samples : limit;
}

// Builds one framebuffer with a colour and a depth-and-stencil buffer; false when the driver refuses it.
bool buildFramebuffer(const Framebuffers& fb, int width, int height, int samples, unsigned& framebuffer,
                      unsigned& colour, unsigned* depth) {
    fb.gen(1, &framebuffer);
    fb.bind(GL_FRAMEBUFFER, framebuffer);
    fb.genRender(1, &colour);
    fb.bindRender(GL_RENDERBUFFER, colour);
    fb.storage(GL_RENDERBUFFER, samples, GL_RGBA8, width, height);
    fb.attach(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    if (depth != nullptr) {
        fb.genRender(1, depth);
        fb.bindRender(GL_RENDERBUFFER, *depth);
        fb.storage(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, width, height);
        fb.attach(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, *depth);
    }
    fb.bindRender(GL_RENDERBUFFER, 0);
    const bool complete = fb.status(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    fb.bind(GL_FRAMEBUFFER, 0);
    return complete && glGetError() == GL_NO_ERROR;
}

}  // namespace

OffscreenFrame::~OffscreenFrame() {
    release();
}

void OffscreenFrame::release() {
    const Framebuffers* fb = framebuffers();
    if (fb != nullptr) {
        fb->removeRender(3, m_renderbuffers);
        fb->remove(1, &m_drawFramebuffer);
        fb->remove(1, &m_readFramebuffer);
    }
    m_drawFramebuffer = m_readFramebuffer = 0;
    std::memset(m_renderbuffers, 0, sizeof m_renderbuffers);
    m_width = m_height = 0;
}

bool OffscreenFrame::create(int width, int height, std::string& error) {
    release();
    const Framebuffers* fb = framebuffers();
    if (fb == nullptr) {
        error = "this OpenGL has no framebuffer objects";
        return false;
    }
    GLint limit = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &limit);
    if (width > limit || height > limit) {
        error = "larger than this OpenGL can draw (" + std::to_string(limit) + " pixels a side)";
        return false;
    }
    while (glGetError() != GL_NO_ERROR) {
        // errors left by earlier drawing are not this frame's
    }
    const int samples = windowSamples();
    bool built = buildFramebuffer(*fb, width, height, samples, m_drawFramebuffer, m_renderbuffers[0],
                                  &m_renderbuffers[1]);
    if (built && samples > 0) {
        // A multisampled buffer cannot be read directly: it is resolved into a plain one first.
        built = buildFramebuffer(*fb, width, height, 0, m_readFramebuffer, m_renderbuffers[2], nullptr);
    }
    if (!built) {
        release();
        error = "OpenGL refused a " + std::to_string(width) + "x" + std::to_string(height) + " frame";
        return false;
    }
    m_width = width;
    m_height = height;
    return true;
}

void OffscreenFrame::bind() {
    const Framebuffers* fb = framebuffers();
    if (fb == nullptr || m_drawFramebuffer == 0) {
        return;
    }
    glGetIntegerv(GL_VIEWPORT, m_savedViewport);
    fb->bind(GL_FRAMEBUFFER, m_drawFramebuffer);
    glViewport(0, 0, m_width, m_height);
}

void OffscreenFrame::read(std::vector<uint8_t>& rgb) {
    const Framebuffers* fb = framebuffers();
    if (fb == nullptr || m_drawFramebuffer == 0) {
        rgb.clear();
        return;
    }
    unsigned source = m_drawFramebuffer;
    if (m_readFramebuffer != 0) {
        fb->bind(GL_READ_FRAMEBUFFER, m_drawFramebuffer);
        fb->bind(GL_DRAW_FRAMEBUFFER, m_readFramebuffer);
        fb->blit(0, 0, m_width, m_height, 0, 0, m_width, m_height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        source = m_readFramebuffer;
    }
    fb->bind(GL_FRAMEBUFFER, source);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    const size_t stride = static_cast<size_t>(m_width) * 3;
    std::vector<uint8_t> bottomUp(stride * static_cast<size_t>(m_height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, m_width, m_height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    rgb.resize(bottomUp.size());
    for (int y = 0; y < m_height; ++y) {
        std::memcpy(rgb.data() + static_cast<size_t>(y) * stride,
                    bottomUp.data() + static_cast<size_t>(m_height - 1 - y) * stride, stride);
    }
    fb->bind(GL_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glViewport(m_savedViewport[0], m_savedViewport[1], m_savedViewport[2], m_savedViewport[3]);
}
