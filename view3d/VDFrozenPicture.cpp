#include "view3d/VDFrozenPicture.h"

#include <GL/gl.h>

#include <cstddef>

void VDFrozenPicture::capture(int width, int height) {
    clear();
    if (width <= 0 || height <= 0) {
        return;
    }
    m_pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    m_width = width;
    m_height = height;
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, m_pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
}

void VDFrozenPicture::draw(int width, int height) const {
    if (empty() || width <= 0 || height <= 0) {
        return;
    }
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Opaque (RGB gives alpha 1) and on top of nothing: no depth test, no blending with the cleared screen.
    const GLboolean depth = glIsEnabled(GL_DEPTH_TEST);
    glDisable(GL_DEPTH_TEST);
    // Every pixel is covered whole: samples of their own would give the same picture at several times the
    // cost, and an import draws it for each of its frames.
    const GLboolean multisample = glIsEnabled(GL_MULTISAMPLE);
    glDisable(GL_MULTISAMPLE);
    // A raster position exactly on the edge of the view may be clipped away; from one well inside, an empty
    // bitmap moves it to the corner, and it stays valid.
    glRasterPos2f(1.0f, 1.0f);
    glBitmap(0, 0, 0.0f, 0.0f, -1.0f, -1.0f, nullptr);
    glPixelZoom(static_cast<float>(width) / static_cast<float>(m_width),
                static_cast<float>(height) / static_cast<float>(m_height));
    glDrawPixels(m_width, m_height, GL_RGB, GL_UNSIGNED_BYTE, m_pixels.data());
    glPixelZoom(1.0f, 1.0f);
    if (depth) {
        glEnable(GL_DEPTH_TEST);
    }
    if (multisample) {
        glEnable(GL_MULTISAMPLE);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void VDFrozenPicture::clear() {
    std::vector<uint8_t>().swap(m_pixels);
    m_width = 0;
    m_height = 0;
}
