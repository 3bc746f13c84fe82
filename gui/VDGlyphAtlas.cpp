#include "gui/VDGlyphAtlas.h"

#include <algorithm>
#include <cmath>

namespace {

// Saves what drawing the quads changes and puts it back: enables, blend and alpha state, the texture
// binding and environment, the polygon mode, both matrices, the matrix mode and the current colour.
class QuadState {
  public:
    explicit QuadState(const GLint viewport[4], const GLfloat colour[4]) {
        glGetFloatv(GL_CURRENT_COLOR, m_colour);
        glGetIntegerv(GL_MATRIX_MODE, &m_matrixMode);
        glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_POLYGON_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glDisable(GL_POLYGON_STIPPLE);
        // Glyphs lie on whole pixels, which samples of their own would only repeat, at several times the
        // cost: a full console is thousands of glyphs a frame.
        glDisable(GL_MULTISAMPLE);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        // The texture's alpha is 0 or 1: a pixel outside the glyph is dropped, as a clear bit of a bitmap.
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.0f);
        // Vertices in window coordinates; a depth of z lands at window depth z, as the raster position's.
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], 0.0, -1.0);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glColor4fv(colour);
    }
    ~QuadState() {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glMatrixMode(static_cast<GLenum>(m_matrixMode));
        glPopAttrib();
        glColor4fv(m_colour);
    }
    QuadState(const QuadState&) = delete;
    QuadState& operator=(const QuadState&) = delete;

  private:
    GLfloat m_colour[4] = {1, 1, 1, 1};
    GLint m_matrixMode = GL_MODELVIEW;
};

}  // namespace

VDGlyphAtlas::~VDGlyphAtlas() = default;  // the texture goes with the context, or with release()

void VDGlyphAtlas::setGlyph(int index, int width, int height, float xorig, float yorig, float xmove,
                            const std::vector<GLubyte>& rows) {
    if (index < 0 || index >= kGlyphCount) {
        return;
    }
    const bool drawn = width > 0 && height > 0 &&
                       rows.size() >= static_cast<size_t>((width + 7) / 8) * static_cast<size_t>(height);
    m_glyphs[index] = Glyph{drawn ? width : 0, drawn ? height : 0, xorig, yorig, xmove, 0};
    m_rows[index] = drawn ? rows : std::vector<GLubyte>();
}

bool VDGlyphAtlas::upload() {
    // The glyphs side by side in one row of texels, one clear column between neighbours.
    int width = 0;
    int height = 1;
    for (Glyph& glyph : m_glyphs) {
        glyph.column = width;
        width += glyph.width + 1;
        height = std::max(height, glyph.height);
    }
    std::vector<GLubyte> texels(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    for (int i = 0; i < kGlyphCount; ++i) {
        const Glyph& glyph = m_glyphs[i];
        const size_t rowBytes = static_cast<size_t>((glyph.width + 7) / 8);
        for (int r = 0; r < glyph.height; ++r) {
            const GLubyte* row = m_rows[i].data() + static_cast<size_t>(r) * rowBytes;
            for (int c = 0; c < glyph.width; ++c) {
                if ((row[c / 8] & (0x80 >> (c % 8))) != 0) {
                    texels[static_cast<size_t>(r) * static_cast<size_t>(width) +
                           static_cast<size_t>(glyph.column + c)] = 255;
                }
            }
        }
        m_rows[i] = std::vector<GLubyte>();
    }
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (width > largest || height > largest) {
        return false;
    }
    glGenTextures(1, &m_texture);
    if (m_texture == 0) {
        return false;
    }
    glPushAttrib(GL_TEXTURE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, width, height, 0, GL_ALPHA, GL_UNSIGNED_BYTE, texels.data());
    glPopClientAttrib();
    glPopAttrib();
    m_textureWidth = width;
    m_textureHeight = height;
    return true;
}

void VDGlyphAtlas::release() {
    if (m_texture != 0) {
        glDeleteTextures(1, &m_texture);
        m_texture = 0;
    }
}

bool VDGlyphAtlas::draw(const unsigned char* indices, size_t count) const {
    if (m_texture == 0) {
        return false;
    }
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (valid == GL_FALSE) {
        return true;  // bitmaps at an invalid raster position draw nothing and do not move it
    }
    GLfloat raster[4] = {0, 0, 0, 1};
    GLfloat colour[4] = {1, 1, 1, 1};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    glGetFloatv(GL_CURRENT_RASTER_COLOR, colour);
    if (colour[3] <= 0.0f) {
        return false;
    }
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);

    // Each glyph's corner as glBitmap finds it: floor(position + 0.0001 - origin), the position advanced
    // glyph by glyph in single precision.
    constexpr GLfloat kEpsilon = 0.0001f;
    const float sScale = 1.0f / static_cast<float>(m_textureWidth);
    const float tScale = 1.0f / static_cast<float>(m_textureHeight);
    GLfloat x = raster[0];
    float moved = 0.0f;
    {
        QuadState state(viewport, colour);
        glBindTexture(GL_TEXTURE_2D, m_texture);
        glBegin(GL_QUADS);
        for (size_t i = 0; i < count; ++i) {
            const Glyph& glyph = m_glyphs[indices[i] < kGlyphCount ? indices[i] : 0];
            if (glyph.width > 0) {
                const float left = std::floor(x + kEpsilon - glyph.xorig);
                const float bottom = std::floor(raster[1] + kEpsilon - glyph.yorig);
                const float right = left + static_cast<float>(glyph.width);
                const float top = bottom + static_cast<float>(glyph.height);
                const float s0 = static_cast<float>(glyph.column) * sScale;
                const float s1 = static_cast<float>(glyph.column + glyph.width) * sScale;
                const float t1 = static_cast<float>(glyph.height) * tScale;
                glTexCoord2f(s0, 0.0f);
                glVertex3f(left, bottom, raster[2]);
                glTexCoord2f(s1, 0.0f);
                glVertex3f(right, bottom, raster[2]);
                glTexCoord2f(s1, t1);
                glVertex3f(right, top, raster[2]);
                glTexCoord2f(s0, t1);
                glVertex3f(left, top, raster[2]);
            }
            x += glyph.xmove;
            moved += glyph.xmove;
        }
        glEnd();
    }
    // The raster position ends where the bitmaps would have left it; a bitmap of no pixels moves it.
    glBitmap(0, 0, 0.0f, 0.0f, moved, 0.0f, nullptr);
    return true;
}
