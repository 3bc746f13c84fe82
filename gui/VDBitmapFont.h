#pragma once

#include <GL/gl.h>

#include <memory>
#include <string>

#include "gui/VDGlyphAtlas.h"

// A bitmap font for OpenGL: consecutive display lists, one per character 32 to 127 and then one per
// character of kExtraCodes, each drawing the glyph at the raster position and advancing it. The face is found
// through fontconfig (a monospaced face stands in when the named one is not installed) and rendered with
// FreeType; when no font file can be used, GLUT's built-in bitmap fonts are compiled into the lists instead,
// so text is always drawn.
class VDBitmapFont {
  public:
    static constexpr int FIRST_CHAR = 32;
    static constexpr int CHAR_COUNT = 96;  // the ASCII lists; the extra characters' follow them
    // The characters beyond ASCII that the program writes: ≤ ≥ − × ° …
    static constexpr char32_t kExtraCodes[] = {0x2264, 0x2265, 0x2212, 0x00D7, 0x00B0, 0x2026};
    static constexpr int EXTRA_COUNT = static_cast<int>(sizeof(kExtraCodes) / sizeof(kExtraCodes[0]));
    static constexpr int LIST_COUNT = CHAR_COUNT + EXTRA_COUNT;

    struct Metrics {
        float charWidth = 0.0f;
        float charHeight = 0.0f;
        float third = 0.0f;  // kept for the interface; nothing sets or reads it
    };

    // `height` in pixels. Needs a current GL context; without one the font has no lists and draws nothing.
    VDBitmapFont(const std::string& face, int height, bool bold, bool italic);
    ~VDBitmapFont();
    VDBitmapFont(const VDBitmapFont&) = delete;
    VDBitmapFont& operator=(const VDBitmapFont&) = delete;

    // Deletes the display lists; later calls do nothing.
    void release();
    Metrics getMetrics() const { return {m_charWidth, m_charHeight, m_third}; }
    GLuint getListBase() const { return m_listBase; }
    bool isReleased() const { return m_released; }
    // Whether the lists hold one of GLUT's built-in fonts rather than the requested face.
    bool usesGlutFont() const { return m_glutFont; }
    // The glyphs as one texture, for drawing a line in one batch; null with a GLUT font or after release().
    const VDGlyphAtlas* getAtlas() const { return m_atlas.get(); }
    // The font file the lists were rendered from; empty with a GLUT font.
    const std::string& getFile() const { return m_file; }
    // The list (counted from the list base) that draws `code`: a blank for control characters, '?' for a
    // character without a glyph.
    int listIndex(char32_t code) const;

    // For tests and machines without usable fonts: while on, new fonts skip fontconfig and use GLUT's.
    static void forceGlutFallback(bool on);

  private:
    bool buildFromFile(const std::string& file, int index, int height);
    void buildFromGlut(bool large);
    void compileGlutExtra(void* font, int extra);

    GLuint m_listBase = 0;
    float m_charWidth = 0.0f;
    float m_charHeight = 0.0f;
    float m_third = 0.0f;
    bool m_released = false;
    bool m_glutFont = false;
    std::string m_file;
    bool m_hasExtra[EXTRA_COUNT] = {};  // whether the face has the extra character's glyph
    std::unique_ptr<VDGlyphAtlas> m_atlas;
};

// Draws `text`, UTF-8, as it stands (no format directives are read in it) with `font`, starting at the
// raster position (x, y) in the current colour, as the glyphs' lists called one after the other would: one
// glyph per character as VDUtf8 counts them. Characters without a glyph are drawn as blanks (control
// characters) or '?' (the others, and every ill-formed part of the text).
void drawText(const VDBitmapFont* font, int x, int y, const std::string& text);
