#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gui/VDBitmapFont.h"
#include "gui/VDUtf8.h"
#include "tests/support/GLTestContext.h"

namespace {

class FontGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        GLTestContext::reset();
        glMatrixMode(GL_PROJECTION);
        glOrtho(0, 800, 0, 600, -1, 1);
        glMatrixMode(GL_MODELVIEW);
    }
    void TearDown() override { VDBitmapFont::forceGlutFallback(false); }

    // A black window, drawn in window coordinates.
    static void clear() {
        GLTestContext::reset();
        glMatrixMode(GL_PROJECTION);
        glOrtho(0, 800, 0, 600, -1, 1);
        glMatrixMode(GL_MODELVIEW);
    }

    static int litPixels(int x, int y, int w, int h) {
        return w * h - GLTestContext::countNear(x, y, w, h, {0, 0, 0, 255});
    }
    static float rasterX() {
        GLfloat position[4] = {0, 0, 0, 0};
        glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
        return position[0];
    }
};

TEST_F(FontGLTest, TextFontHasSaneMetricsAndNinetySixLists) {
    VDBitmapFont font("Lucida Console", 12, false, false);
    const VDBitmapFont::Metrics metrics = font.getMetrics();
    EXPECT_GE(metrics.charWidth, 5);
    EXPECT_LE(metrics.charWidth, 12);
    EXPECT_GE(metrics.charHeight, 10);
    EXPECT_LE(metrics.charHeight, 20);
    EXPECT_EQ(metrics.charWidth, static_cast<float>(static_cast<int>(metrics.charWidth))) << "whole pixels";

    const GLuint base = font.getListBase();
    ASSERT_NE(0u, base);
    EXPECT_TRUE(glIsList(base));
    EXPECT_TRUE(glIsList(base + 95));
    font.release();
    EXPECT_FALSE(glIsList(base));
    EXPECT_FALSE(glIsList(base + 95));
    font.release();  // once only
}

TEST_F(FontGLTest, BoldTitleFontIsAtLeastAsWideAsTheTextFont) {
    VDBitmapFont text("Lucida Console", 12, false, false);
    VDBitmapFont title("Lucida Console", 14, true, false);
    EXPECT_GE(title.getMetrics().charWidth, text.getMetrics().charWidth);
    EXPECT_GT(title.getMetrics().charHeight, text.getMetrics().charHeight);
}

TEST_F(FontGLTest, TextLightsPixelsAtItsRasterPosition) {
    VDBitmapFont font("Lucida Console", 12, false, false);
    drawText(&font, 100, 300, "Hello, world");
    const int lit = litPixels(100, 297, 150, 20);
    EXPECT_GT(lit, 30);
    EXPECT_EQ(lit, litPixels(0, 0, 800, 600)) << "nothing drawn outside the text's box";
}

TEST_F(FontGLTest, PercentSignsAndLongTextsAreDrawnAsTheyStand) {
    VDBitmapFont font("Lucida Console", 12, false, false);
    const float advance = font.getMetrics().charWidth;  // a monospaced face: every glyph advances this far

    glColor3f(1, 1, 1);
    drawText(&font, 10, 500, "100% %s%n%d");
    EXPECT_FLOAT_EQ(10 + 11 * advance, rasterX()) << "eleven glyphs, no format directive read";
    EXPECT_GT(litPixels(10, 495, 200, 20), 20);

    const std::string longText(1000, '%');
    drawText(&font, 10, 400, longText);
    EXPECT_FLOAT_EQ(10 + 1000 * advance, rasterX()) << "drawn whole";
}

TEST_F(FontGLTest, CharactersWithoutAGlyphNeverReachOtherDisplayLists) {
    // Red full-screen lists just below and just above the font's.
    const GLuint below = glGenLists(32);
    VDBitmapFont font("Lucida Console", 12, false, false);
    const GLuint above = glGenLists(160);
    ASSERT_EQ(below + 32, font.getListBase()) << "lists are handed out consecutively";
    ASSERT_EQ(font.getListBase() + VDBitmapFont::LIST_COUNT, above);
    for (GLuint list : {below, above}) {
        const GLuint count = list == below ? 32 : 160;
        for (GLuint i = 0; i < count; ++i) {
            glNewList(list + i, GL_COMPILE);
            glColor3f(1, 0, 0);
            glRecti(0, 0, 800, 600);
            glEndList();
        }
    }

    // Text that is not UTF-8, or characters the font has no glyph for: a blank per control character and a
    // '?' per other character or ill-formed part (read by hand), drawn whole, and no other list reached.
    const struct {
        const char* what;
        std::string text;
        std::string drawnAs;
    } cases[] = {
        {"control characters and stray bytes", std::string("tab\there\nnew\x01\x1f\x7f\x80\xe9\xff", 19),
         "tab here new  ???? "},
        {"a cut less-or-equal", "\xE2\x89", "?"},
        {"a lead byte cut by another", "\xE2\xE2\x89\x35", "??5"},
        {"bytes that never start a sequence", "\xFF\xFE\xC0\xC1\xF5", "?????"},
        {"a surrogate", "\xED\xA0\x80", "???"},
        {"a four-byte sequence cut at the end", "a\xF0\x9F\x98", "a?"},
        {"characters without a glyph", "\xF0\x9F\x98\x80\xC2\xA0\xE4\xB8\xAD", "???"},
        {"a long run of stray bytes", std::string(300, '\x80'), std::string(300, '?')},
    };
    const float advance = font.getMetrics().charWidth;
    std::vector<GLTestContext::Pixel> pictures[2];
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (int way = 0; way < 2; ++way) {
            clear();
            glColor3f(1, 1, 1);
            drawText(&font, 10, 300, way == 0 ? c.text : c.drawnAs);
            EXPECT_FLOAT_EQ(10 + static_cast<float>(c.drawnAs.size()) * advance, rasterX());
            pictures[way] = GLTestContext::region(0, 0, 800, 600);
        }
        EXPECT_EQ(0, GLTestContext::countNear(0, 0, 800, 600, {255, 0, 0, 255}, 0));
        EXPECT_TRUE(GLTestContext::sameColours(pictures[0], pictures[1]));
    }

    glDeleteLists(below, 32);
    glDeleteLists(above, 160);
}

// The characters beyond ASCII the program writes are glyphs of their own, one place each (not the '?' of
// each byte), their ink within that place, with either font; a text takes the places its characters,
// counted by hand, take on the layout's measure.
TEST_F(FontGLTest, CharactersBeyondAsciiAreOneGlyphEachAndTakeThePlacesMeasured) {
    const struct {
        const char* text;
        size_t characters;
    } cases[] = {{"≤", 1}, {"≥", 1}, {"−", 1}, {"×", 1}, {"°", 1}, {"…", 1}, {"≤ 20", 4}, {"−3 × 10°…", 9}};
    for (bool glut : {false, true}) {
        VDBitmapFont::forceGlutFallback(glut);
        VDBitmapFont font("Lucida Console", 12, false, false);
        const int advance = static_cast<int>(font.getMetrics().charWidth);
        const auto picture = [&](const std::string& text) {
            clear();
            glColor3f(1, 1, 1);
            drawText(&font, 100, 300, text);
            return GLTestContext::region(100, 290, 100, 30);
        };
        const std::vector<GLTestContext::Pixel> question = picture("?");
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.text) + (glut ? " in GLUT's font" : " in a font file"));
            const std::vector<GLTestContext::Pixel> drawn = picture(c.text);
            EXPECT_EQ(c.characters, VDUtf8::length(c.text));
            EXPECT_FLOAT_EQ(100.0f + static_cast<float>(c.characters * advance), rasterX());
            int right = -1;
            for (size_t i = 0; i < drawn.size(); ++i) {
                right = drawn[i].r > 0 ? std::max(right, static_cast<int>(i % 100)) : right;
            }
            EXPECT_GE(right, static_cast<int>(c.characters) * advance / 2) << "drawn";
            EXPECT_LE(right, static_cast<int>(c.characters) * advance) << "within its places";
            EXPECT_FALSE(GLTestContext::sameColours(question, drawn)) << "not the replacement";
        }
    }
}

// A line of text is drawn with one call for the whole line; the pixels and the raster position it leaves
// must be those of the glyphs' bitmaps drawn one after the other. Window positions with a fraction, texts
// that start off the window's left edge and a start outside the window (nothing drawn) are all compared.
TEST_F(FontGLTest, ALineDrawsTheSamePixelsAsItsGlyphsOneByOne) {
    VDBitmapFont font("Lucida Console", 12, false, false);
    ASSERT_FALSE(font.usesGlutFont());
    const std::string text = "Width: 100 {x,y} @#$%&*()_+|~ gjpqy AW";
    struct Case {
        const char* what;
        float shift;  // added to the window position by the projection
        int x, y;
    };
    const Case cases[] = {
        {"whole pixels", 0.0f, 20, 300},
        {"a fraction below one half", 0.3f, 20, 300},
        {"a fraction above one half", 0.7f, 21, 301},
        {"starting off the left edge", 0.0f, -40, 200},
        {"ending past the right edge", 0.0f, 620, 200},
        {"starting below the window", 0.0f, 20, -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<GLTestContext::Pixel> pictures[2];
        float ends[2] = {0, 0};
        for (int way = 0; way < 2; ++way) {
            GLTestContext::reset();
            glMatrixMode(GL_PROJECTION);
            glOrtho(-c.shift, 800 - c.shift, -c.shift, 600 - c.shift, -1, 1);
            glMatrixMode(GL_MODELVIEW);
            glColor3f(0.9f, 0.8f, 0.1f);
            if (way == 0) {
                drawText(&font, c.x, c.y, text);
            } else {
                glRasterPos2i(c.x, c.y);
                for (char ch : text) {
                    glCallList(font.getListBase() + static_cast<GLuint>(ch - VDBitmapFont::FIRST_CHAR));
                }
            }
            ends[way] = rasterX();
            pictures[way] = GLTestContext::region(0, 0, 800, 600);
        }
        EXPECT_TRUE(GLTestContext::sameColours(pictures[0], pictures[1]));
        EXPECT_FLOAT_EQ(ends[1], ends[0]);
    }
}

// Whatever the batch of glyphs sets up for itself is put back: the caller's matrix mode, colour, enables and
// texture are as they were.
TEST_F(FontGLTest, DrawingTextLeavesTheStateAsItFoundIt) {
    VDBitmapFont font("Lucida Console", 12, false, false);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_CULL_FACE);
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    drawText(&font, 10, 300, "state");

    GLint mode = 0;
    GLint bound = 0;
    GLfloat colour[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(GL_PROJECTION, mode);
    EXPECT_EQ(static_cast<GLint>(texture), bound);
    EXPECT_FLOAT_EQ(0.5f, colour[1]);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_GT(litPixels(10, 297, 100, 20), 10) << "the text was drawn";
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_CULL_FACE);
    glDeleteTextures(1, &texture);
}

TEST_F(FontGLTest, ForcedGlutFallbackDrawsWithGlutsFixedFonts) {
    VDBitmapFont::forceGlutFallback(true);
    VDBitmapFont text("Lucida Console", 12, false, false);
    VDBitmapFont title("Lucida Console", 14, true, false);
    EXPECT_TRUE(text.usesGlutFont());
    EXPECT_TRUE(text.getFile().empty());
    EXPECT_FLOAT_EQ(8, text.getMetrics().charWidth);
    EXPECT_GE(text.getMetrics().charHeight, 13);
    EXPECT_FLOAT_EQ(9, title.getMetrics().charWidth);

    glColor3f(1, 1, 1);
    drawText(&text, 50, 200, "Fallback 50%");
    EXPECT_FLOAT_EQ(50 + 12 * 8, rasterX());
    EXPECT_GT(litPixels(50, 196, 120, 20), 30);
}

// The project installs DejaVu fonts: an uninstalled face must be replaced by a monospaced font file, not by
// GLUT's fonts.
TEST_F(FontGLTest, UninstalledFaceFallsBackToAMonospacedFontFile) {
    VDBitmapFont font("No Such Face Anywhere", 12, false, false);
    EXPECT_FALSE(font.usesGlutFont());
    EXPECT_FALSE(font.getFile().empty());
    GLTestContext::reset();
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 800, 0, 600, -1, 1);
    glColor3f(1, 1, 1);
    const float advance = font.getMetrics().charWidth;
    drawText(&font, 0, 100, "iiii");
    const float narrow = rasterX();
    drawText(&font, 0, 100, "MMMM");
    EXPECT_FLOAT_EQ(narrow, rasterX()) << "narrow and wide letters advance alike";
    EXPECT_FLOAT_EQ(4 * advance, narrow);
}

}  // namespace
