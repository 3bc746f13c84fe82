#include "gui/VDBitmapFont.h"

#include <GL/freeglut.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <cstring>
#include <vector>

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

void VDBitmapFont::forceGlutFallback(bool on) {
    g_forceGlut = on;
}

VDBitmapFont::VDBitmapFont(const std::string& face, int height, bool bold, bool italic) {
    m_listBase = glGenLists(CHAR_COUNT);
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
        glDeleteLists(m_listBase, CHAR_COUNT);
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
        for (int i = 0; i < CHAR_COUNT; ++i) {
            const unsigned long code = static_cast<unsigned long>(FIRST_CHAR + i);
            glNewList(m_listBase + static_cast<GLuint>(i), GL_COMPILE);
            if (FT_Load_Char(face, code, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) == 0 &&
                FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) == 0) {
                const FT_GlyphSlot slot = face->glyph;
                const std::vector<GLubyte> rows = bitmapRows(slot->bitmap);
                const int rowCount = static_cast<int>(slot->bitmap.rows);
                const int width = static_cast<int>(slot->bitmap.width);
                const auto xorig = static_cast<GLfloat>(-slot->bitmap_left);
                const auto yorig = static_cast<GLfloat>(rowCount - slot->bitmap_top);
                const auto xmove = static_cast<GLfloat>(roundedPixels(slot->advance.x));
                glBitmap(width, rowCount, xorig, yorig, xmove, 0.0f, rows.empty() ? nullptr : rows.data());
                atlas->setGlyph(i, width, rowCount, xorig, yorig, xmove, rows);
            } else {
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
        for (int i = 0; i < CHAR_COUNT; ++i) {
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
    m_charWidth = static_cast<float>(
        glutBitmapLength(font, reinterpret_cast<const unsigned char*>(kMeasureText)) / kMeasureLength);
    m_charHeight = static_cast<float>(glutBitmapHeight(font));
}

void drawText(const VDBitmapFont* font, int x, int y, const std::string& text) {
    if (font == nullptr || font->isReleased() || font->getListBase() == 0 || text.empty()) {
        return;
    }
    // Each byte as its glyph's place among the font's 96 (0 for ' '): only the glyphs may be drawn, so
    // bytes without one are replaced.
    std::string indices(text);
    for (char& ch : indices) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < VDBitmapFont::FIRST_CHAR) {
            ch = 0;
        } else if (c > 126) {
            ch = '?' - VDBitmapFont::FIRST_CHAR;
        } else {
            ch = static_cast<char>(c - VDBitmapFont::FIRST_CHAR);
        }
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
