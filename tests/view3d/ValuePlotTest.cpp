// The 3D view's plot, driven as commands and the pointer drive it (no drawing): what it shows for a cell
// against the log file read independently, Shift+click, its limits and refusals, and how it follows the
// run. And the time bar's ticks and the time it shows under the pointer.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "console/VDDEVSPlotEvent.h"
#include "control/VCSimulation.h"
#include "gui/VDEvent.h"
#include "gui/VDPlotPanel.h"
#include "gui/VDPlotPickEvent.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/LogSeries.h"
#include "view3d/VDTessaronerWindow.h"
#include "view3d/VDTimeBar.h"
#include "view3d/VDValuePlot.h"

namespace {

const std::string kLife = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";

class IdleTimer : public VCPlaybackTimer {
  public:
    void schedule(unsigned, unsigned) override {}
    double now() const override { return 0.0; }
};

VCSeriesTarget target(const std::vector<std::string>& words) {
    VCSeriesTarget parsed;
    EXPECT_TRUE(VCSeriesTarget::parse(words, parsed));
    return parsed;
}

void expectSeries(const LogPoints& expected, const VDPlotPanel::Series& shown, const std::string& what) {
    ASSERT_EQ(expected.size(), shown.x.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].milliseconds, shown.x[i]) << what << " at " << expected[i].time;
        EXPECT_EQ(std::stod(expected[i].value), shown.y[i]) << what << " at " << expected[i].time;
    }
}

// The sample life run, 20 x 20 cells, the middle of the view on cell (10, 11); event times 100 to 500 ms.
class ValuePlotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(nullptr, createSimulation());
        getSimulation()->setPlaybackTimer(std::make_unique<IdleTimer>());
        window.setRectangle(VDRect(0, 0, 800, 600));
        window.initialise();
        ASSERT_TRUE(getSimulation()->newVisualization("plot"));
        ASSERT_TRUE(getSimulation()->importLogFile(kLife));
        rec.clear();
    }
    void TearDown() override { destroySimulation(); }

    void send(VDEvent&& event) { window.handleEvent(&event); }
    void plot(const std::vector<std::string>& words) { send(VDDEVSPlotEvent(target(words))); }
    void click(int x, int y, int modifiers = 0) {
        VDMouseDownEvent down(VDMouseButtonEvent::LEFT, x, y);
        down.setModifiers(modifiers);
        send(std::move(down));
        VDMouseUpEvent up(VDMouseButtonEvent::LEFT, x, y);
        up.setModifiers(modifiers);
        send(std::move(up));
    }
    VDValuePlot& shown() { return *window.getPlot(); }
    VDPlotPanel& panel() { return *window.getPlotPanel(); }

    VDTessaronerWindow window;
    LogRecorder rec;
};

TEST_F(ValuePlotTest, ShiftClickOnACellPlotsWhatTheLogSaysItSentAPlainClickOnlyPicksIt) {
    click(400, 300);
    EXPECT_TRUE(window.getSelection().isActive());
    EXPECT_FALSE(shown().isOpen());

    click(400, 300, VDKey::KEY_SHIFT);
    ASSERT_TRUE(shown().isOpen());
    ASSERT_EQ(1u, panel().getSeriesCount());
    const LogPoints expected = LogSeries::read(kLife).outputs.at("life 10 11");
    EXPECT_EQ("life(10,11)", panel().getSeries(0).label);
    expectSeries(expected, panel().getSeries(0), "life(10,11)");
    EXPECT_TRUE(rec.contains("Plotting life(10,11): " + std::to_string(expected.size()) + " values"))
        << rec.text();

    click(400, 300, VDKey::KEY_SHIFT);
    EXPECT_TRUE(rec.contains("life(10,11) is in the plot already")) << rec.text();
    EXPECT_EQ(1u, panel().getSeriesCount());

    // Picked and plotted by the run's coordinates: the same cube, of a space whose first cell is
    // (-10,-11), is its (0,0), from which the log has no value (X lines only).
    dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel("life"))
        ->setOrigin({-10, -11, 0});
    click(400, 300, VDKey::KEY_SHIFT);
    EXPECT_TRUE(rec.contains("life(0,0) has no value yet")) << rec.text();
    ASSERT_EQ(2u, panel().getSeriesCount());
    EXPECT_EQ("life(0,0)", panel().getSeries(1).label);
}

TEST_F(ValuePlotTest, FourSeriesAtMostRefusalsSayWhyAndClearOrCloseEmptyIt) {
    plot({"life", "0", "4"});
    plot({"life", "0", "8"});
    plot({"life"});
    plot({"life", "1"});
    EXPECT_EQ(4u, panel().getSeriesCount());
    EXPECT_EQ("life min/mean/max", panel().getSeries(2).label);
    EXPECT_TRUE(panel().getSeries(2).hasBand());
    EXPECT_TRUE(rec.contains("Plotting life: the minimum, mean and maximum of its cells at 5 event times"))
        << rec.text();
    rec.clear();
    plot({"life", "2", "2"});
    plot({"ghost"});
    EXPECT_EQ((std::vector<std::string>{"The plot holds 4 series at most: vis_plot clear empties it",
                                        "Unable to plot ghost: No model named ghost"}),
              rec.lines());
    EXPECT_EQ(4u, panel().getSeriesCount());

    // The close button empties and closes it; so does vis_plot clear.
    send(VDCloseEvent(VDTessaronerWindow::PLOT_PANEL_ID));
    EXPECT_FALSE(shown().isOpen());
    EXPECT_EQ(0u, panel().getSeriesCount());
    plot({"life", "0", "4"});
    EXPECT_TRUE(shown().isOpen());
    VDDEVSPlotEvent clear;
    window.handleEvent(&clear);
    EXPECT_TRUE(clear.handled);
    EXPECT_FALSE(shown().isOpen());
    EXPECT_TRUE(shown().getTargets().empty());
}

TEST_F(ValuePlotTest, ItSpansTheRunAPickInItMovesTimeAndClosingTheRunEmptiesIt) {
    plot({"life", "0", "4"});
    shown().follow(getSimulation());
    EXPECT_EQ(0.0, panel().getCursor());
    double first = 0;
    double last = 0;
    panel().xSpan(first, last);
    EXPECT_EQ(0.0, first) << "from the start";
    EXPECT_EQ(500.0, last);

    send(VDPlotPickEvent(VDTessaronerWindow::PLOT_PANEL_ID, 260.0));
    EXPECT_EQ(300.0, getSimulation()->currentTime());

    // A closed visualization takes the plot's series with it.
    getSimulation()->closeVisualization();
    shown().follow(getSimulation());
    EXPECT_FALSE(shown().isOpen());
    EXPECT_EQ(0u, panel().getSeriesCount());
}

TEST(TimeBarTicksTest, EachTimeCountsOnTheColumnOfItsPlaceAndTimesOffTheSpanNowhere) {
    struct Case {
        std::vector<double> times;
        double first, last;
        int columns;
        std::vector<uint32_t> counts;
    };
    for (const Case& c :
         {Case{{0, 50, 100}, 0, 100, 3, {1, 1, 1}}, Case{{0, 10, 20, 30, 100}, 0, 100, 3, {3, 1, 1}},
          Case{{0, 24, 40, 100}, 0, 100, 5, {1, 1, 1, 0, 1}}, Case{{-5, 0, 100, 120}, 0, 100, 2, {1, 1}},
          Case{{7}, 7, 7, 3, {0, 1, 0}}, Case{{1, 2}, 0, 10, 0, {}}}) {
        EXPECT_EQ(c.counts, VDTimeBar::tickCounts(c.times, c.first, c.last, c.columns)) << c.times.size();
    }
}

TEST_F(ValuePlotTest, TheTimeBarIsSixPixelsHighAndTellsTheEventTimeUnderThePointer) {
    VDTimeBar* bar = window.getTimeBar();
    EXPECT_GE(bar->getRectangle().getHeight(), 6.0f);
    bar->follow(getSimulation());
    const VDRect r = bar->getRectangle();
    const float thumb = bar->getThumbSize();
    const int y = static_cast<int>(r.getY1()) + 2;
    auto xOf = [&](double ms) {
        return static_cast<int>(r.getX1() + thumb / 2 + (ms - 100) / 400 * (r.getWidth() - thumb));
    };
    send(VDMouseMoveEvent(xOf(330), y));
    bar->follow(getSimulation());
    EXPECT_TRUE(bar->isHovering());
    EXPECT_EQ("00:00:00:300", bar->getHoverText());
    send(VDMouseMoveEvent(xOf(480), y - 40));
    EXPECT_FALSE(bar->isHovering());
}

}  // namespace
