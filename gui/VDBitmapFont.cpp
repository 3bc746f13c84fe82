#include "gui/VDBitmapFont.h"

#include <GL/freeglut.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <cstring>
#include <vector>

#include "gui/VDUtf8.h"
#include "shell/Log.h"

namespace {

bool g_forceGlut = false;

// The width is the average advance over digits and letters, as the layout code expects.
const char kMeasureText[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kMeasureLength = 62;

// Asks fontconfig for the face, with "monospace" as the next family so that an uninstalled face is
// replaced by a monospaced one rather than by the proportional default.
bool resolveFace(const std::string& face, bool bold, bool italic, std::string& file, int& index) {
    // A configuration of our own, destroyed after the query: the library's implicit default configuration
    // is never freed and would be reported as a leak.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) {
        return false;
    }
    FcPattern* pattern = FcPatternCreate();
    bool found = false;
    if (pattern != nullptr) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("monospace"));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        if (FcConfigSubstitute(config, pattern, FcMatchPattern)) {
            FcDefaultSubstitute(pattern);
            FcResult result = FcResultNoMatch;
            FcPattern* match = FcFontMatch(config, pattern, &result);
            if (match != nullptr) {
                FcChar8* path = nullptr;
                if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr) {
                    file = reinterpret_cast<const char*>(path);
                    index = 0;
                    FcPatternGetInteger(match, FC_INDEX, 0, &index);
                    found = !file.empty();
                }
                FcPatternDestroy(match);
            }
        }
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    return found;
}

int roundedPixels(FT_Pos value) {
    return static_cast<int>((value + 32) >> 6);
}

// One glyph as glBitmap wants it: rows from the bottom up, one bit per pixel, most significant bit first,
// rows padded to whole bytes.
std::vector<GLubyte> bitmapRows(const FT_Bitmap& bitmap) {
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    const int rowBytes = (width + 7) / 8;
    std::vector<GLubyte> out(static_cast<size_t>(rowBytes) * static_cast<size_t>(rows), 0);
    for (int r = 0; r < rows; ++r) {
        const unsigned char* src = bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch;
        GLubyte* dst = out.data() + static_cast<size_t>(rows - 1 - r) * static_cast<size_t>(rowBytes);
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            std::memcpy(dst, src, static_cast<size_t>(rowBytes));
        } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
            for (int c = 0; c < width; ++c) {
                if (src[c] >= 128) {
                    dst[c / 8] = static_cast<GLubyte>(dst[c / 8] | (0x80 >> (c % 8)));
                }
            }
        }
    }
    return out;
}

}  // namespace

static_assert(VDBitmapFont::LIST_COUNT <= VDGlyphAtlas::kGlyphCount,
              "every glyph has its place in the atlas");

void VDBitmapFont::forceGlutFallback(bool on) {
    g_forceGlut = on;
}

VDBitmapFont::VDBitmapFont(const std::string& face, int height, bool bold, bool italic) {
    m_listBase = glGenLists(LIST_COUNT);
    if (m_listBase == 0) {
        logMessage("Unable to create display lists for font %s", face.c_str());
        return;
    }
    std::string file;
    int index = 0;
    if (!g_forceGlut && height > 0 && resolveFace(face, bold, italic, file, index) &&
        buildFromFile(file, index, height)) {
        m_file = file;
        return;
    }
    buildFromGlut(bold || height >= 14);
}

VDBitmapFont::~VDBitmapFont() {
    release();
}

void VDBitmapFont::release() {
    if (m_released) {
        return;
    }
    if (m_listBase != 0) {
        glDeleteLists(m_listBase, LIST_COUNT);
    }
    if (m_atlas) {
        m_atlas->release();
        m_atlas.reset();
    }
    m_released = true;
}

bool VDBitmapFont::buildFromFile(const std::string& file, int index, int height) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return false;
    }
    FT_Face face = nullptr;
    bool built = false;
    if (FT_New_Face(library, file.c_str(), index, &face) == 0 && FT_Set_Pixel_Sizes(face, 0, height) == 0) {
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
        glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
        glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
        int measured = 0;
        auto atlas = std::make_unique<VDGlyphAtlas>();
        for (int i = 0; i < LIST_COUNT; ++i) {
            const bool extra = i >= CHAR_COUNT;
            const unsigned long code = extra ? static_cast<unsigned long>(kExtraCodes[i - CHAR_COUNT])
                                             : static_cast<unsigned long>(FIRST_CHAR + i);
            glNewList(m_listBase + static_cast<GLuint>(i), GL_COMPILE);
            if (extra && FT_Get_Char_Index(face, code) == 0) {
                // The face lacks it: listIndex() sends the character to '?', and this list stays empty.
            } else if (FT_Load_Char(face, code, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) == 0 &&
                       FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) == 0) {
                const FT_GlyphSlot slot = face->glyph;
                const std::vector<GLubyte> rows = bitmapRows(slot->bitmap);
                const int rowCount = static_cast<int>(slot->bitmap.rows);
                const int width = static_cast<int>(slot->bitmap.width);
                const auto xorig = static_cast<GLfloat>(-slot->bitmap_left);
                const auto yorig = static_cast<GLfloat>(rowCount - slot->bitmap_top);
                const auto xmove = static_cast<GLfloat>(roundedPixels(slot->advance.x));
                glBitmap(width, rowCount, xorig, yorig, xmove, 0.0f, rows.empty() ? nullptr : rows.data());
                if (atlas) {
                    atlas->setGlyph(i, width, rowCount, xorig, yorig, xmove, rows);
                }
                if (extra) {
                    m_hasExtra[i - CHAR_COUNT] = true;
                }
            } else if (!extra) {
                atlas.reset();  // the list draws nothing: only the lists can say so
            }
            glEndList();
        }
        glPopClientAttrib();
        if (atlas && atlas->upload()) {
            m_atlas = std::move(atlas);
        }
        for (int i = 0; i < kMeasureLength; ++i) {
            if (FT_Load_Char(face, static_cast<unsigned char>(kMeasureText[i]),
                             FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) == 0) {
                measured += roundedPixels(face->glyph->advance.x);
            }
        }
        m_charWidth = static_cast<float>(measured / kMeasureLength);
        m_charHeight = static_cast<float>(roundedPixels(face->size->metrics.height));
        built = true;
    }
    if (face != nullptr) {
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return built;
}

void VDBitmapFont::buildFromGlut(bool large) {
    m_glutFont = true;
    // GLUT ends the process when its fonts are used before it is initialised; without it the lists stay
    // empty and the font draws nothing.
    if (glutGet(GLUT_INIT_STATE) == 0) {
        for (int i = 0; i < LIST_COUNT; ++i) {
            glNewList(m_listBase + static_cast<GLuint>(i), GL_COMPILE);
            glEndList();
        }
        return;
    }
    void* font = large ? GLUT_BITMAP_9_BY_15 : GLUT_BITMAP_8_BY_13;
    for (int i = 0; i < CHAR_COUNT; ++i) {
        glNewList(m_listBase + static_cast<GLuint>(i), GL_COMPILE);
        glutBitmapCharacter(font, FIRST_CHAR + i);
        glEndList();
    }
    for (int extra = 0; extra < EXTRA_COUNT; ++extra) {
        glNewList(m_listBase + static_cast<GLuint>(CHAR_COUNT + extra), GL_COMPILE);
        compileGlutExtra(font, extra);
        glEndList();
        m_hasExtra[extra] = true;
    }
    m_charWidth = static_cast<float>(
        glutBitmapLength(font, reinterpret_cast<const unsigned char*>(kMeasureText)) / kMeasureLength);
    m_charHeight = static_cast<float>(glutBitmapHeight(font));
}

void VDBitmapFont::compileGlutExtra(void* font, int extra) {
    // GLUT's fixed fonts hold Latin-1 (× and °); the others are made of ASCII glyphs and a line of bits,
    // each one cell wide like every other glyph.
    const int width = glutBitmapWidth(font, 'x');
    const std::vector<GLubyte> rule(static_cast<size_t>((width + 7) / 8), 0xFF);
    switch (kExtraCodes[extra]) {
        case 0x2264:
        case 0x2265:
            // The angle, then a bar under it one row below the baseline, leaving the raster position after
            // the angle.
            glutBitmapCharacter(font, kExtraCodes[extra] == 0x2264 ? '<' : '>');
            glBitmap(width - 2, 1, static_cast<GLfloat>(width - 1), 1.0f, 0.0f, 0.0f, rule.data());
            break;
        case 0x2212:
            glutBitmapCharacter(font, '-');
            break;
        case 0x2026: {
            // Three dots, at the cell's quarters, on the baseline.
            std::vector<GLubyte> dots(rule.size(), 0);
            for (int x : {width / 4, width / 2, 3 * width / 4}) {
                dots[static_cast<size_t>(x / 8)] =
                    static_cast<GLubyte>(dots[static_cast<size_t>(x / 8)] | (0x80 >> (x % 8)));
            }
            glBitmap(width, 1, 0.0f, 0.0f, static_cast<GLfloat>(width), 0.0f, dots.data());
            break;
        }
        default:
            glutBitmapCharacter(font, static_cast<int>(kExtraCodes[extra]));
            break;
    }
}

int VDBitmapFont::listIndex(char32_t code) const {
    if (code < static_cast<char32_t>(FIRST_CHAR)) {
        return 0;
    }
    if (code < 127) {
        return static_cast<int>(code) - FIRST_CHAR;
    }
    for (int extra = 0; extra < EXTRA_COUNT; ++extra) {
        if (kExtraCodes[extra] == code && m_hasExtra[extra]) {
            return CHAR_COUNT + extra;
        }
    }
    return '?' - FIRST_CHAR;
}

void drawText(const VDBitmapFont* font, int x, int y, const std::string& text) {
    if (font == nullptr || font->isReleased() || font->getListBase() == 0 || text.empty()) {
        return;
    }
    // Each character as its glyph's list: only the font's lists may be called, so characters without one
    // are replaced.
    std::string indices;
    indices.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        indices.push_back(static_cast<char>(font->listIndex(VDUtf8::next(text, pos))));
    }
    glRasterPos2i(x, y);
    const auto* bytes = reinterpret_cast<const unsigned char*>(indices.data());
    if (font->getAtlas() != nullptr && font->getAtlas()->draw(bytes, indices.size())) {
        return;
    }
    glPushAttrib(GL_LIST_BIT);
    glListBase(font->getListBase());
    glCallLists(static_cast<GLsizei>(indices.size()), GL_UNSIGNED_BYTE, indices.data());
    glPopAttrib();
}
