// The viewer's frames while an import runs: the picture as it was when the import began, the progress over
// the strip, and the new data once the import has ended.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "control/VCImportHost.h"
#include "control/VCSimulation.h"
#include "gui/VDBitmapFont.h"
#include "gui/VDDefaultTheme.h"
#include "gui/VDEvent.h"
#include "gui/VDPanel.h"
#include "gui/VDThemeStore.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/LogRecorder.h"
#include "view3d/VDImportStrip.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

using Pixel = GLTestContext::Pixel;

const std::string kSample = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";

// As the program's host does when an import begins: the window keeps its picture.
class FreezingHost : public VCImportHost {
  public:
    explicit FreezingHost(VDTessaronerWindow& window) : m_window(window) {}
    void importStarted() override { m_window.freezePicture(); }
    void importEnded() override {}

  private:
    VDTessaronerWindow& m_window;
};

class ImportFrameGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        GLTestContext::reset();
        glViewport(0, 0, 800, 600);
        ASSERT_TRUE(createThemeStore());
        m_window.setRectangle(VDRect(0, 0, 800, 600));
        m_window.initialise();
        ASSERT_NE(nullptr, createSimulation());
        getSimulation()->setImportHost(std::make_unique<FreezingHost>(m_window));
        ASSERT_TRUE(getSimulation()->newVisualization("frames"));
    }
    void TearDown() override {
        destroySimulation();
        destroyThemeStore();
    }

    // One frame as the main window draws it.
    void frame() {
        VDTheme* theme = currentTheme();
        glDisable(GL_DEPTH_TEST);
        theme->clearScreen();
        theme->begin2D(800.0f, 600.0f);
        VDRedisplayEvent redisplay;
        m_window.handleEvent(&redisplay);
        theme->end2D();
    }
    // Everything below the strip.
    static std::vector<Pixel> view() { return GLTestContext::region(0, 0, 800, 555); }

    LogRecorder m_quiet;
    VDTessaronerWindow m_window;
};

TEST_F(ImportFrameGLTest, TheViewStaysAsItWasUntilTheImportEnds) {
    frame();
    const std::vector<Pixel> before = view();
    const Pixel green{0, 204, 102, 255};
    ASSERT_EQ(0, GLTestContext::countNear(0, 0, 800, 555, green, 30)) << "an empty visualization: no cells";

    VCSimulation& simulation = *getSimulation();
    ASSERT_TRUE(simulation.startImport(kSample));
    EXPECT_FALSE(m_window.getFrozenPicture().empty());
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(simulation.continueImport(0.01));
    }
    frame();
    EXPECT_TRUE(GLTestContext::sameColours(before, view())) << "the life cells read so far are not drawn";

    while (simulation.continueImport(50.0)) {
    }
    frame();
    EXPECT_FALSE(GLTestContext::sameColours(before, view()));
    EXPECT_GT(GLTestContext::countNear(0, 0, 800, 555, green, 30), 2000)
        << "the 400 cells, as yet without values";
    EXPECT_TRUE(m_window.getFrozenPicture().empty()) << "let go once the import is over";
}

TEST_F(ImportFrameGLTest, TheKeptPictureCoversAWindowResizedDuringTheImport) {
    // Begun in a window of a quarter the size: the grid's far edge lies 136 rows up, the line z = -1 spans
    // the width 74 rows up.
    glViewport(0, 0, 400, 300);
    m_window.setRectangle(VDRect(0, 0, 400, 300));
    VCSimulation& simulation = *getSimulation();
    ASSERT_TRUE(simulation.startImport(kSample));
    ASSERT_EQ(400, m_window.getFrozenPicture().width());

    glViewport(0, 0, 800, 600);
    m_window.setRectangle(VDRect(0, 0, 800, 600));
    frame();
    // The grid's grey, blended as the theme draws lines.
    const Pixel grid{100, 100, 100, 255};
    int highest = -1;
    for (int y = 400; y >= 0 && highest < 0; --y) {
        highest = GLTestContext::countNear(0, y, 800, 1, grid, 40) > 0 ? y : -1;
    }
    EXPECT_NEAR(273, highest, 3) << "stretched to twice its height";
    EXPECT_GE(GLTestContext::countNear(400, 145, 400, 8, grid, 40), 2 * 400) << "and to twice its width";
    simulation.cancelImport();
}

TEST_F(ImportFrameGLTest, AnImportThatTakesAWhileShowsItsProgressInTheStrip) {
    VCSimulation& simulation = *getSimulation();
    // The import's time is the test's: how long the machine takes over each slice does not matter.
    auto now = std::chrono::steady_clock::now();
    simulation.setImportClock([&now] { return now; });
    ASSERT_TRUE(simulation.startImport(kSample));
    ASSERT_TRUE(simulation.continueImport(0.01));
    now += std::chrono::milliseconds(static_cast<int>(VCImportProgress::kShowAfterMs) - 1);
    frame();
    const Pixel filled{38, 115, 204, 255};
    // Short so far by the import's own clock (read after the frame, so it was short when the frame was
    // drawn too): a slow machine may take longer than that to get here.
    if (!simulation.getImportProgress().worthShowing()) {
        EXPECT_EQ(0, GLTestContext::countNear(0, 560, 600, 40, filled, 1)) << "a short import shows nothing";
    }

    now += std::chrono::milliseconds(1);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(simulation.continueImport(0.01));
    }
    const VCImportProgress progress = simulation.getImportProgress();
    ASSERT_TRUE(progress.worthShowing());
    frame();
    // The bar: filled from its left end as far as the file is read (seen on a row below the text).
    const VDImportStrip strip(m_window.getPanel()->getRectangle(), progress);
    const int width = static_cast<int>(strip.filledRectangle().getWidth());
    ASSERT_GT(width, 20);
    EXPECT_EQ(width, GLTestContext::countNear(0, 567, 600, 1, filled, 1));
    EXPECT_EQ(width, GLTestContext::countNear(5, 567, width, 1, filled, 1));
    EXPECT_EQ(0, GLTestContext::countNear(5 + width, 565, 590 - width, 30, filled, 1));

    // The text over it is the progress text, pixel for pixel as the theme's font writes it there.
    std::vector<Pixel> shown = GLTestContext::region(5, 565, 590, 30);
    const auto* theme = dynamic_cast<const VDDefaultTheme*>(currentTheme());
    ASSERT_NE(nullptr, theme);
    glDisable(GL_DEPTH_TEST);
    currentTheme()->clearScreen();
    currentTheme()->begin2D(800.0f, 600.0f);
    glColor4f(1, 1, 1, 1);
    drawText(theme->getTextFont(), 5 + 6, 565 + static_cast<int>((30 - theme->getCharHeight()) / 2) + 2,
             progress.text());
    currentTheme()->end2D();
    std::vector<Pixel> expected = GLTestContext::region(5, 565, 590, 30);
    int white = 0;
    int mismatched = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        const bool drawn = expected[i].r == 255 && expected[i].g == 255 && expected[i].b == 255;
        const bool seen = shown[i].r == 255 && shown[i].g == 255 && shown[i].b == 255;
        white += drawn ? 1 : 0;
        mismatched += drawn != seen ? 1 : 0;
    }
    EXPECT_GT(white, 200);
    EXPECT_EQ(0, mismatched) << progress.text();
    simulation.cancelImport();
}

}  // namespace
