// The plot as the 3D view draws it: a cell's steps where its values and times put them, and the time line
// that moves with playback.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "console/VDDEVSPlotEvent.h"
#include "control/VCSimulation.h"
#include "gui/VDEvent.h"
#include "gui/VDPlotPanel.h"
#include "gui/VDThemeStore.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/LogRecorder.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

using Pixel = GLTestContext::Pixel;

// Playback's call backs, fired by the test.
class HandTimer : public VCPlaybackTimer {
  public:
    explicit HandTimer(unsigned* token) : m_token(token) {}
    void schedule(unsigned, unsigned token) override { *m_token = token; }
    double now() const override { return 0.0; }

  private:
    unsigned* m_token;
};

class ValuePlotGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        GLTestContext::reset();
        glViewport(0, 0, 800, 600);
        ASSERT_TRUE(createThemeStore());
        ASSERT_NE(nullptr, createSimulation());
        getSimulation()->setPlaybackTimer(std::make_unique<HandTimer>(&token));
        window.setRectangle(VDRect(0, 0, 800, 600));
        window.initialise();
        ASSERT_TRUE(getSimulation()->newVisualization("plot"));
        ASSERT_TRUE(getSimulation()->importLogFile(std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log"));
        // life(0,4) sends 1 at 100 ms and 0 at 200 ms; the run ends at 500 ms.
        VCSeriesTarget cell;
        ASSERT_TRUE(VCSeriesTarget::parse({"life", "0", "4"}, cell));
        VDDEVSPlotEvent plot(cell);
        window.handleEvent(&plot);
    }
    void TearDown() override {
        destroySimulation();
        destroyThemeStore();
    }
    void frame() {
        VDTheme* theme = currentTheme();
        glDisable(GL_DEPTH_TEST);
        theme->clearScreen();
        theme->begin2D(800.0f, 600.0f);
        VDRedisplayEvent redisplay;
        window.handleEvent(&redisplay);
        theme->end2D();
    }
    const VDPlotPanel& plot() const { return *window.getPlotPanel(); }
    int px(double milliseconds) const { return static_cast<int>(std::round(plot().pixelX(milliseconds))); }
    int py(double value) const { return static_cast<int>(std::round(plot().pixelY(value))); }
    // How many pixels of the plot's column at `x` are near white (the time line).
    int whiteInColumn(int x) const {
        const VDRect area = plot().layout().plot;
        const int y1 = static_cast<int>(area.getY1()) + 2;
        const int height = static_cast<int>(area.getHeight()) - 4;
        int white = 0;
        for (const Pixel& p : GLTestContext::region(x, y1, 1, height)) {
            white += p.r > 200 && p.g > 200 && p.b > 200 ? 1 : 0;
        }
        return white;
    }

    LogRecorder quiet;
    unsigned token = 0;
    VDTessaronerWindow window;
};

TEST_F(ValuePlotGLTest, StepsHoldEachValueUntilTheNextAndTheTimeLineFollowsPlayback) {
    frame();
    const Pixel amber{255, 191, 51, 255};
    auto amberAt = [&](double from, double to, double value) {
        return GLTestContext::countNear(px(from) + 3, py(value) - 1, px(to) - px(from) - 6, 3, amber, 40);
    };
    // 1 from 100 to 200 ms, 0 from 200 ms to the end: nothing at 1 before or after, and a fall at 200.
    EXPECT_GE(amberAt(100, 200, 1), px(200) - px(100) - 6);
    EXPECT_GE(amberAt(200, 500, 0), px(500) - px(200) - 6);
    EXPECT_EQ(0, amberAt(200, 500, 1));
    EXPECT_EQ(0, amberAt(0, 100, 1)) << "no value before its first";
    EXPECT_GT(GLTestContext::countNear(px(200) - 1, py(0.2), 3, py(0.8) - py(0.2), amber, 40), 0);

    const int height = static_cast<int>(plot().layout().plot.getHeight()) - 4;
    ASSERT_TRUE(getSimulation()->play(10));
    for (double expected : {100.0, 200.0, 300.0}) {
        SCOPED_TRACE(expected);
        const double before = getSimulation()->currentTime();
        ASSERT_TRUE(getSimulation()->playbackTimerFired(token));
        ASSERT_EQ(expected, getSimulation()->currentTime());
        frame();
        EXPECT_GT(whiteInColumn(px(expected)), height * 8 / 10) << "the line is at the new time";
        EXPECT_LT(whiteInColumn(px(before) + (before == 0.0 ? 2 : 0)), height / 10)
            << "and gone from the old";
    }
}

}  // namespace

namespace {

// The panel hides the picture under it: drawn over a red and over a blue screen, its pixels are the same.
// Hidden, the screen shows there. Placed, it stands where vis_plot place puts it (x, y from the top-left).
class PlotPanelGLTest : public ValuePlotGLTest {
  protected:
    // How many pixels of `r` (from the bottom-left, as GL reads) differ between a red and a blue screen.
    int seeThrough(const VDRect& r) {
        std::vector<Pixel> shots[2];
        for (int blue = 0; blue < 2; ++blue) {
            getSimulation()->sceneChanged();  // no kept picture of the other screen
            glDisable(GL_DEPTH_TEST);
            glClearColor(1.0f - blue, 0.0f, static_cast<float>(blue), 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            currentTheme()->begin2D(800.0f, 600.0f);
            VDRedisplayEvent redisplay;
            window.handleEvent(&redisplay);
            currentTheme()->end2D();
            shots[blue] =
                GLTestContext::region(int(r.getX1()), int(r.getY1()), int(r.getWidth()), int(r.getHeight()));
        }
        int differ = 0;
        for (size_t i = 0; i < shots[0].size(); ++i) {
            differ += shots[0][i].r != shots[1][i].r || shots[0][i].b != shots[1][i].b ? 1 : 0;
        }
        return differ;
    }
    std::string send(VDDEVSPlotEvent event) {
        window.handleEvent(&event);
        return quiet.lines().empty() ? "" : quiet.lines().back();
    }
};

TEST_F(PlotPanelGLTest, ThePanelIsOpaqueHidesShowsAndStandsWherePlaced) {
    // Where it opens: 8 pixels in from the bottom-left corner, 460 x 260.
    const VDRect inner(10, 10, 466, 266);
    EXPECT_EQ(0, seeThrough(inner));
    EXPECT_EQ("Plot hidden", send(VDDEVSPlotEvent::hidden(true)));
    EXPECT_GT(seeThrough(inner), 456 * 256 / 2) << "the screen shows where the plot was";
    EXPECT_EQ("Plot shown", send(VDDEVSPlotEvent::hidden(false)));
    EXPECT_EQ(0, seeThrough(inner));

    struct Case {
        long long x, y, width, height;
        const char* reply;
        VDRect at;  // from the bottom-left corner of the 800 x 600 window
    };
    const char* small = "Unable to place the plot: it needs at least 160 x 160 pixels";
    for (const Case& c :
         {Case{700, 500, 300, 200, "Plot placed at 500 400, 300 x 200 pixels", VDRect(500, 0, 800, 200)},
          Case{-5, 0, 2000, 900, "Plot placed at 0 0, 800 x 600 pixels", VDRect(0, 0, 800, 600)},
          Case{10, 10, 159, 300, small, VDRect(0, 0, 800, 600)},
          Case{100, 50, 300, 200, "Plot placed at 100 50, 300 x 200 pixels", VDRect(100, 350, 400, 550)}}) {
        SCOPED_TRACE(c.reply);
        EXPECT_EQ(c.reply, send(VDDEVSPlotEvent::placed(c.x, c.y, c.width, c.height)));
        const VDRect& r = plot().getRectangle();
        EXPECT_EQ((std::vector<float>{c.at.getX1(), c.at.getY1(), c.at.getX2(), c.at.getY2()}),
                  (std::vector<float>{r.getX1(), r.getY1(), r.getX2(), r.getY2()}));
    }
    EXPECT_EQ(0, seeThrough(VDRect(102, 352, 398, 548)));
    EXPECT_GT(seeThrough(VDRect(420, 10, 460, 260)), 40 * 250 / 2) << "its old place is free";

    // Hidden, a new series shows it again.
    send(VDDEVSPlotEvent::hidden(true));
    VCSeriesTarget cell;
    ASSERT_TRUE(VCSeriesTarget::parse({"life", "1", "4"}, cell));
    send(VDDEVSPlotEvent(cell));
    EXPECT_EQ(0, seeThrough(VDRect(102, 352, 398, 548)));
}

}  // namespace
