#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "gui/VDDefaultTheme.h"
#include "gui/VDEditBox.h"
#include "gui/VDEvent.h"
#include "gui/VDLabel.h"
#include "gui/VDPanel.h"
#include "gui/VDTextBox.h"
#include "gui/VDTextButton.h"
#include "gui/VDThemeStore.h"
#include "shell/EngineVariables.h"
#include "tests/support/GLTestContext.h"

namespace {

using Pixel = GLTestContext::Pixel;

// A colour blended once over black, as the theme's translucent fills come out on a cleared screen.
Pixel overBlack(float r, float g, float b, float a) {
    auto channel = [a](float c) { return static_cast<uint8_t>(c * a * 255.0f + 0.5f); };
    return {channel(r), channel(g), channel(b), 255};
}

void expectNear(Pixel expected, Pixel actual, const char* what) {
    EXPECT_NEAR(expected.r, actual.r, 3) << what;
    EXPECT_NEAR(expected.g, actual.g, 3) << what;
    EXPECT_NEAR(expected.b, actual.b, 3) << what;
}

struct Box {
    int x1 = 1 << 30, y1 = 1 << 30, x2 = -1, y2 = -1;
    bool empty() const { return x2 < 0; }
};

// The bounding box of the pixels of a region that are near `colour`.
Box boundsOf(int x, int y, int w, int h, Pixel colour) {
    Box box;
    const auto pixels = GLTestContext::region(x, y, w, h);
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            const Pixel& p = pixels[static_cast<size_t>(row * w + col)];
            if (std::abs(p.r - colour.r) <= 3 && std::abs(p.g - colour.g) <= 3 &&
                std::abs(p.b - colour.b) <= 3) {
                box.x1 = std::min(box.x1, x + col);
                box.x2 = std::max(box.x2, x + col);
                box.y1 = std::min(box.y1, y + row);
                box.y2 = std::max(box.y2, y + row);
            }
        }
    }
    return box;
}

template <class T>
std::unique_ptr<T> placed(std::unique_ptr<T> window, const VDRect& rect) {
    window->setRectangle(rect);
    return window;
}

class ThemeGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        GLTestContext::reset();
        ASSERT_TRUE(createThemeStore());
        theme = dynamic_cast<VDDefaultTheme*>(currentTheme());
        ASSERT_NE(nullptr, theme);
        theme->clearScreen();
        theme->begin2D(800, 600);
    }
    void TearDown() override {
        if (theme != nullptr) {
            theme->end2D();
        }
        destroyThemeStore();
    }
    static void redisplay(VDWindow& window) {
        VDRedisplayEvent event;
        window.handleEvent(&event);
    }

    VDDefaultTheme* theme = nullptr;
};

TEST_F(ThemeGLTest, StoreHoldsTheInitialisedDefaultThemeAndNamesIt) {
    std::string name;
    ASSERT_TRUE(getEngineVariables()->getString("current_theme", name));
    EXPECT_EQ("default", name);
    EXPECT_EQ("default", getThemeStore()->getCurrentName());
    ASSERT_NE(nullptr, theme->getTextFont());
    ASSERT_NE(nullptr, theme->getTitleFont());
    EXPECT_EQ(theme->getTextFont()->getMetrics().charHeight, theme->getCharHeight());
    EXPECT_FALSE(getThemeStore()->addTheme("default", std::make_unique<VDDefaultTheme>()))
        << "a name is taken once";
}

// A page of the console is what the text box draws: paging by more skips lines the user never sees.
TEST_F(ThemeGLTest, APageIsAsManyLinesAsTheTextBoxDraws) {
    for (const float height : {120.0f, 430.0f, 300.0f + theme->getCharHeight()}) {
        SCOPED_TRACE(height);
        GLTestContext::reset();
        theme->clearScreen();
        theme->begin2D(800, 600);
        auto box = std::make_unique<VDTextBox>(true);
        box->setRectangle(VDRect(100, 100, 400, 100 + height));
        box->initialise();
        for (int i = 0; i < 100; ++i) {
            box->addLine("MMMMMMMM");
        }
        redisplay(*box);
        // Rows of text: runs of pixel rows with the text's colour in them.
        const int h = static_cast<int>(height);
        const auto pixels = GLTestContext::region(100, 100, 200, h);
        int rows = 0;
        bool inText = false;
        for (int y = 0; y < h; ++y) {
            bool ink = false;
            for (int x = 0; x < 200 && !ink; ++x) {
                const Pixel& p = pixels[static_cast<size_t>(y * 200 + x)];
                ink = p.r > 200 && p.g > 200 && p.b > 200;
            }
            rows += ink && !inText ? 1 : 0;
            inText = ink;
        }
        EXPECT_GT(rows, 3);
        EXPECT_EQ(rows, theme->visibleLines(box.get()));
    }
}

TEST_F(ThemeGLTest, PanelButtonAndTextBoxFillWithTheirColours) {
    auto panel = placed(std::make_unique<VDPanel>(), VDRect(10, 50, 400, 300));
    auto button = placed(std::make_unique<VDTextButton>(), VDRect(500, 100, 600, 130));
    auto hovered = placed(std::make_unique<VDTextButton>(), VDRect(500, 200, 600, 230));
    auto box = placed(std::make_unique<VDTextBox>(false), VDRect(450, 300, 700, 500));
    VDMouseMoveEvent over(550, 215);
    hovered->handleEvent(&over);
    redisplay(*panel);
    redisplay(*button);
    redisplay(*hovered);
    redisplay(*box);

    const Pixel panelFill = overBlack(0.6f, 0.65f, 0.6f, 0.8f);
    expectNear(panelFill, GLTestContext::pixel(12, 150), "panel margin");
    const Pixel client = {static_cast<uint8_t>(panelFill.r * 0.6f), static_cast<uint8_t>(panelFill.g * 0.6f),
                          static_cast<uint8_t>(panelFill.b * 0.6f), 255};
    expectNear(client, GLTestContext::pixel(200, 150), "panel client area");
    // Edges are smoothed lines: brighter or darker than the fill beside them rather than an exact colour.
    EXPECT_GT(GLTestContext::pixel(10, 150).g, panelFill.g + 20) << "light left edge";
    EXPECT_LT(GLTestContext::pixel(200, 50).g, panelFill.g - 10) << "dark bottom edge";

    expectNear({128, 128, 128, 255}, GLTestContext::pixel(590, 125), "button face");
    expectNear({51, 51, 51, 255}, GLTestContext::pixel(590, 225), "face under the pointer");
    EXPECT_GT(GLTestContext::pixel(500, 115).r, 128 + 10) << "light left bevel";
    EXPECT_LT(GLTestContext::pixel(550, 100).r, 128 - 10) << "dark bottom bevel";

    expectNear(overBlack(0.3f, 0.3f, 0.3f, 0.3f), GLTestContext::pixel(575, 400), "text box fill");
    expectNear({0, 0, 0, 255}, GLTestContext::pixel(440, 400), "outside everything");
    EXPECT_EQ(0, theme->getStatus());
}

TEST_F(ThemeGLTest, LabelTextLightsPixelsInsideTheLabel) {
    auto label = placed(std::make_unique<VDLabel>(), VDRect(100, 400, 300, 430));
    label->setText("Are you sure? 100%");
    redisplay(*label);
    const Pixel text = {204, 204, 204, 255};
    const Box lit = boundsOf(0, 0, 800, 600, text);
    ASSERT_FALSE(lit.empty());
    EXPECT_GE(lit.x1, 105);
    EXPECT_LE(lit.x2, 300);
    EXPECT_GE(lit.y1, 400);
    EXPECT_LE(lit.y2, 430);
    EXPECT_GT(GLTestContext::countNear(100, 400, 200, 30, text, 3), 40);
}

TEST_F(ThemeGLTest, PressedButtonShiftsItsCaptionRightAndDown) {
    auto button = placed(std::make_unique<VDTextButton>(), VDRect(100, 100, 200, 130));
    button->setCaption("Cancel");
    const Pixel caption = {204, 204, 204, 255};
    redisplay(*button);
    const Box released = boundsOf(100, 100, 101, 31, caption);
    ASSERT_FALSE(released.empty());

    GLTestContext::reset();
    theme->begin2D(800, 600);
    VDMouseDownEvent press(0, 150, 115);
    button->handleEvent(&press);
    ASSERT_TRUE(button->isPressed());
    redisplay(*button);
    const Box pressed = boundsOf(100, 100, 101, 31, caption);
    EXPECT_EQ(released.x1 + 1, pressed.x1);
    EXPECT_EQ(released.y1 - 1, pressed.y1);
    theme->end2D();
    theme->begin2D(800, 600);  // TearDown ends one pass
}

TEST_F(ThemeGLTest, EditBoxDrawsItsSelectionOnlyWhileOneExists) {
    auto box = placed(std::make_unique<VDEditBox>(), VDRect(20, 60, 400, 80));
    box->setText("selected text");
    box->setFocused(true);
    auto greenish = [](int x, int y, int w, int h) {
        int n = 0;
        for (const Pixel& p : GLTestContext::region(x, y, w, h)) {
            n += p.g > p.r + 15 ? 1 : 0;
        }
        return n;
    };
    redisplay(*box);
    EXPECT_EQ(0, greenish(20, 60, 380, 30));
    expectNear({255, 255, 255, 255}, GLTestContext::pixel(200, 60), "focused border");

    VDKeyDownEvent shiftEnd{VDKey(VDKey::KEY_END | VDKey::KEY_SHIFT)};
    box->handleEvent(&shiftEnd);
    ASSERT_NE(-1, box->getAnchor());
    GLTestContext::reset();
    theme->begin2D(800, 600);
    redisplay(*box);
    EXPECT_GT(greenish(20, 60, 380, 30), 100);
    theme->end2D();
    theme->begin2D(800, 600);
}

TEST_F(ThemeGLTest, EditBoxKeepsALineLongerThanItselfAndItsCursorInsideTheFrame) {
    auto box = placed(std::make_unique<VDEditBox>(), VDRect(20, 60, 220, 80));
    box->setMaxLength(255);
    box->setFocused(true);
    box->setText(std::string(150, 'M'));
    VDKeyDownEvent end{VDKey(VDKey::KEY_END)};
    box->handleEvent(&end);
    redisplay(*box);
    const Pixel text = {230, 230, 230, 255};
    const Box inside = boundsOf(20, 60, 200, 21, text);
    ASSERT_FALSE(inside.empty()) << "the end of the line shows";
    EXPECT_TRUE(boundsOf(221, 55, 300, 40, text).empty()) << "nothing drawn right of the box";
    // The cursor (in the text colour too) stands near the right edge, after the last character shown.
    EXPECT_GT(inside.x2, 220 - 2 * static_cast<int>(theme->getCharWidth()) - 10);

    // With the cursor back at the start, the line shows from its first character.
    VDKeyDownEvent home{VDKey(VDKey::KEY_HOME)};
    box->handleEvent(&home);
    GLTestContext::reset();
    theme->begin2D(800, 600);
    redisplay(*box);
    EXPECT_LE(boundsOf(20, 60, 200, 21, text).x1, 20 + 7);
    EXPECT_TRUE(boundsOf(221, 55, 300, 40, text).empty());
    theme->end2D();
    theme->begin2D(800, 600);
}

TEST_F(ThemeGLTest, TextBoxCutsLongLinesShortOfItsScrollBar) {
    auto box = std::make_unique<VDTextBox>(true);
    box->setRectangle(VDRect(100, 100, 300, 300));
    box->initialise();
    box->addLine(std::string(200, 'M'));
    box->addLine("short");
    redisplay(*box);
    const Box text = boundsOf(100, 100, 200, 200, {230, 230, 230, 255});
    ASSERT_FALSE(text.empty());
    EXPECT_LT(text.x2, 300 - 30) << "nothing under the scroll bar";
    EXPECT_GE(text.x2, 300 - 30 - 2 * static_cast<int>(theme->getCharWidth()));
    EXPECT_LE(text.y2, 300);
}

}  // namespace
