#include "view3d/VDKeptPicture.h"

#include <GL/gl.h>

#ifndef GL_FRAMEBUFFER_BINDING
#define GL_FRAMEBUFFER_BINDING 0x8CA6
#endif

bool VDKeptPicture::Source::operator==(const Source& other) const {
    return sceneRevision == other.sceneRevision && width == other.width && height == other.height &&
           projection == other.projection && view == other.view;
}

VDKeptPicture::~VDKeptPicture() {
    // Only a window that drew has a texture, and it is destroyed with its GL context still current.
    if (m_texture != 0) {
        GLuint texture = m_texture;
        glDeleteTextures(1, &texture);
    }
}

VDKeptPicture::LeftState VDKeptPicture::readState() {
    LeftState state;
    glGetFloatv(GL_CURRENT_COLOR, state.colour);
    glGetFloatv(GL_LINE_WIDTH, &state.lineWidth);
    glGetIntegerv(GL_BLEND_SRC, &state.blendSource);
    glGetIntegerv(GL_BLEND_DST, &state.blendDestination);
    state.blend = glIsEnabled(GL_BLEND) == GL_TRUE;
    state.cullFace = glIsEnabled(GL_CULL_FACE) == GL_TRUE;
    state.depthTest = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
    state.texture2D = glIsEnabled(GL_TEXTURE_2D) == GL_TRUE;
    state.lineSmooth = glIsEnabled(GL_LINE_SMOOTH) == GL_TRUE;
    return state;
}

void VDKeptPicture::restore(const LeftState& state) {
    const auto set = [](GLenum capability, bool on) {
        if (on) {
            glEnable(capability);
        } else {
            glDisable(capability);
        }
    };
    glColor4fv(state.colour);
    glLineWidth(state.lineWidth);
    glBlendFunc(static_cast<GLenum>(state.blendSource), static_cast<GLenum>(state.blendDestination));
    set(GL_BLEND, state.blend);
    set(GL_CULL_FACE, state.cullFace);
    set(GL_DEPTH_TEST, state.depthTest);
    set(GL_TEXTURE_2D, state.texture2D);
    set(GL_LINE_SMOOTH, state.lineSmooth);
}

void VDKeptPicture::capture(const Source& source) {
    m_kept = false;
    m_left = readState();
    if (source.width <= 0 || source.height <= 0) {
        return;
    }
    // Only the window's own buffer: a picture drawn off screen (a snapshot) may be multisampled, which
    // cannot be copied, and is not what the window shows anyway.
    GLint framebuffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    if (framebuffer != 0) {
        return;
    }
    while (glGetError() != GL_NO_ERROR) {
        // errors left by the drawing are not the copy's
    }
    GLint readBuffer = GL_BACK;
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glReadBuffer(GL_BACK);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    if (m_texture == 0) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        m_texture = texture;
    }
    glBindTexture(GL_TEXTURE_2D, m_texture);
    if (m_textureWidth != source.width || m_textureHeight != source.height) {
        // Nearest texels and no mipmaps: drawn one texel to a pixel, the copy is the picture exactly.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        // Alpha too: what is drawn over the picture (the strip) may blend by the alpha the scene left.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, source.width, source.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
        m_textureWidth = source.width;
        m_textureHeight = source.height;
    }
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, source.width, source.height);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    glReadBuffer(static_cast<GLenum>(readBuffer));
    m_source = source;
    m_kept = glGetError() == GL_NO_ERROR;
    ++m_captured;
}

void VDKeptPicture::draw() const {
    if (!m_kept) {
        return;
    }
    ++m_reused;
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const auto w = static_cast<float>(m_source.width);
    const auto h = static_cast<float>(m_source.height);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(w, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(w, h);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(0.0f, h);
    glEnd();
    glPopAttrib();
    restore(m_left);
}
