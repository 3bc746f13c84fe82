#pragma once

#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <vector>

// The glyphs of a bitmap font in one texture, so that a line of text is drawn as one batch of textured
// quads. Each quad lights exactly the pixels the glyph's glBitmap would (same origin, same rounding, same
// raster colour, same advance of the raster position); drawn one bitmap at a time, the rasteriser spent
// about 12 µs on every glyph, and a full console took some 40 ms a frame.
class VDGlyphAtlas {
  public:
    static constexpr int kGlyphCount = 128;  // ASCII's 96 and room for a few more

    VDGlyphAtlas() = default;
    ~VDGlyphAtlas();
    VDGlyphAtlas(const VDGlyphAtlas&) = delete;
    VDGlyphAtlas& operator=(const VDGlyphAtlas&) = delete;

    // Records glyph `index` as glBitmap takes it: `rows` from the bottom up, one bit per pixel, most
    // significant bit first, each row padded to whole bytes.
    void setGlyph(int index, int width, int height, float xorig, float yorig, float xmove,
                  const std::vector<GLubyte>& rows);
    // Uploads the recorded glyphs; needs a current GL context. False when there is no texture to draw with.
    bool upload();
    // Deletes the texture; later draws return false.
    void release();

    // Draws `count` glyphs (indices below kGlyphCount) from the current raster position and advances it,
    // as calling the glyphs' glBitmap one after the other would. Returns false, drawing nothing, when the
    // batch cannot stand in for the bitmaps (no texture, or a raster colour of alpha 0, which the batch's
    // alpha test would drop); the caller then draws the bitmaps.
    bool draw(const unsigned char* indices, size_t count) const;

  private:
    struct Glyph {
        int width = 0;
        int height = 0;
        float xorig = 0.0f;
        float yorig = 0.0f;
        float xmove = 0.0f;
        int column = 0;  // the glyph's first texel column in the atlas
    };
    std::array<Glyph, kGlyphCount> m_glyphs{};
    std::array<std::vector<GLubyte>, kGlyphCount> m_rows{};  // kept until upload
    GLuint m_texture = 0;
    int m_textureWidth = 0;
    int m_textureHeight = 0;
};
