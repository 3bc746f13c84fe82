#include "gui/VDPlotPanel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "gui/VDEvent.h"
#include "gui/VDPlotPickEvent.h"
#include "gui/VDTextButton.h"
#include "tests/gui/ProbeWindow.h"

namespace {

using Journal = std::vector<std::string>;
using Values = std::vector<double>;

void expectValues(const Values& expected, const Values& actual, const std::string& what) {
    ASSERT_EQ(expected.size(), actual.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(expected[i], actual[i], 1e-9 * std::max(1.0, std::fabs(expected[i]))) << what;
    }
}

TEST(PlotTicksTest, RoundValuesOneTwoOrFiveTimesAPowerOfTenApartAndNoMoreThanAskedFor) {
    struct Case {
        double low, high;
        int most;
        Values ticks;
    };
    for (const Case& c : {Case{0, 1, 5, {0, 0.5, 1}}, Case{0, 1, 6, {0, 0.2, 0.4, 0.6, 0.8, 1}},
                          Case{0, 4000, 5, {0, 1000, 2000, 3000, 4000}}, Case{-3, 7, 3, {0, 5}},
                          Case{0.00061, 0.44444, 4, {0.2, 0.4}}, Case{-0.5, 0.5, 3, {-0.5, 0, 0.5}},
                          Case{0, 1, 1, {0, 1}}, Case{5, 5, 4, {}}, Case{1, 0, 4, {}}}) {
        const std::string what = std::to_string(c.low) + ".." + std::to_string(c.high);
        const Values ticks = VDPlotPanel::niceTicks(c.low, c.high, c.most);
        expectValues(c.ticks, ticks, what);
        EXPECT_LE(static_cast<int>(ticks.size()), std::max(c.most, 2)) << what;
    }
}

// A 460 x 260 plot at (20, 30) in an 800 x 600 owner that records what reaches it.
class PlotPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        owner.setRectangle(VDRect(0, 0, 800, 600));
        plot = adopt(owner, std::make_unique<VDPlotPanel>(), VDRect(20, 30, 480, 290));
        plot->setId(7);
        VDPlotPanel::Series steps;
        steps.label = "cell";
        steps.x = {1000, 3000};
        steps.y = {2, -2};
        ASSERT_TRUE(plot->addSeries(steps));
        plot->setXSpan(0, 4000);
    }
    bool mouse(VDEvent&& event) { return plot->handleEvent(&event); }

    Journal journal;
    ProbeWindow owner{"owner", &journal};
    VDPlotPanel* plot = nullptr;
};

TEST_F(PlotPanelTest, TheAxesSpanTheRunAndTheValuesWithARoomAboveAndBelow) {
    const VDPlotPanel::Layout parts = plot->layout();
    ASSERT_TRUE(parts.usable);
    EXPECT_TRUE(VDRect(20, 30, 480, 290).contains(parts.plot.getX1(), parts.plot.getY1()));
    EXPECT_TRUE(VDRect(20, 30, 480, 290).contains(parts.plot.getX2(), parts.plot.getY2()));
    EXPECT_FLOAT_EQ(parts.plot.getX1(), plot->pixelX(0));
    EXPECT_FLOAT_EQ(parts.plot.getX2(), plot->pixelX(4000));
    EXPECT_NEAR(2500.0, plot->xAt(plot->pixelX(2500)), 4000.0 / parts.plot.getWidth());
    EXPECT_EQ(0.0, plot->xAt(parts.plot.getX1() - 50)) << "within the span";
    double low = 0;
    double high = 0;
    plot->ySpan(low, high);
    EXPECT_LT(low, -2.0);
    EXPECT_GT(high, 2.0);
    EXPECT_GT(plot->pixelY(-2), parts.plot.getY1());
    EXPECT_LT(plot->pixelY(2), parts.plot.getY2());
    EXPECT_FALSE(plot->xTicks().empty());
    ASSERT_EQ(1u, parts.legend.size());
    EXPECT_GT(parts.legend[0].getY1(), parts.plot.getY2()) << "the legend above the plot";

    // Without a span, the points set it.
    plot->setXSpan(0, 0);
    double first = 0;
    double last = 0;
    plot->xSpan(first, last);
    EXPECT_EQ(1000.0, first);
    EXPECT_EQ(3000.0, last);
}

TEST_F(PlotPanelTest, FourSeriesAtMost) {
    for (int i = 1; i < 4; ++i) {
        EXPECT_TRUE(plot->addSeries(VDPlotPanel::Series{"more", {0}, {double(i)}, {}, {}}));
    }
    EXPECT_FALSE(plot->addSeries(VDPlotPanel::Series{"fifth", {0}, {5}, {}, {}}));
    EXPECT_EQ(4u, plot->getSeriesCount());
    plot->clearSeries();
    EXPECT_EQ(0u, plot->getSeriesCount());
}

TEST_F(PlotPanelTest, APressAndADragInThePlotPickTheValueUnderThePointer) {
    const VDRect area = plot->layout().plot;
    const int y = static_cast<int>(area.getY1() + area.getHeight() / 2);
    const int x = static_cast<int>(plot->pixelX(1000));
    EXPECT_TRUE(mouse(VDMouseDownEvent(VDMouseButtonEvent::LEFT, x, y)));
    EXPECT_TRUE(plot->isPicking());
    EXPECT_EQ(7, owner.lastSourceId);
    // Dragged past the plot's end: the end of the span.
    EXPECT_TRUE(mouse(VDMouseMoveEvent(static_cast<int>(area.getX2()) + 40, y + 100)));
    EXPECT_TRUE(mouse(VDMouseUpEvent(VDMouseButtonEvent::LEFT, static_cast<int>(area.getX2()) + 40, y)));
    EXPECT_FALSE(plot->isPicking());
    EXPECT_EQ((Journal{"owner:12", "owner:8", "owner:12", "owner:8"}), journal);

    // On the frame or the title bar, not in the plot: nothing is picked.
    journal.clear();
    mouse(VDMouseDownEvent(VDMouseButtonEvent::LEFT, 22, 150));
    mouse(VDMouseUpEvent(VDMouseButtonEvent::LEFT, 22, 150));
    for (const std::string& seen : journal) {
        EXPECT_NE("owner:12", seen);
    }
}

TEST_F(PlotPanelTest, PickedValuesAreThoseUnderThePointer) {
    struct Picked : ProbeWindow {
        using ProbeWindow::ProbeWindow;
        bool handleEvent(VDEvent* event) override {
            if (auto* pick = dynamic_cast<VDPlotPickEvent*>(event)) {
                xs.push_back(pick->getX());
            }
            return ProbeWindow::handleEvent(event);
        }
        Values xs;
    } picked{"picked", &journal};
    plot->setParent(&picked);
    const VDRect area = plot->layout().plot;
    const int y = static_cast<int>(area.getY1() + 5);
    mouse(VDMouseDownEvent(VDMouseButtonEvent::LEFT, static_cast<int>(plot->pixelX(1000)), y));
    mouse(VDMouseMoveEvent(static_cast<int>(area.getX1()) - 30, y));
    mouse(VDMouseMoveEvent(static_cast<int>(area.getX2()) + 30, y));
    ASSERT_EQ(3u, picked.xs.size());
    EXPECT_NEAR(1000.0, picked.xs[0], 4000.0 / area.getWidth());
    EXPECT_EQ(0.0, picked.xs[1]);
    EXPECT_EQ(4000.0, picked.xs[2]);
}

TEST_F(PlotPanelTest, TheCloseButtonAsksTheOwnerToCloseIt) {
    VDTextButton* close = plot->getCloseButton();
    ASSERT_NE(nullptr, close);
    const VDRect r = close->getRectangle();
    const int x = static_cast<int>(r.getX1() + 3);
    const int y = static_cast<int>(r.getY1() + 3);
    mouse(VDMouseDownEvent(VDMouseButtonEvent::LEFT, x, y));
    journal.clear();
    mouse(VDMouseUpEvent(VDMouseButtonEvent::LEFT, x, y));
    EXPECT_NE(journal.end(), std::find(journal.begin(), journal.end(), "owner:11")) << "a close event";
    EXPECT_EQ(7, owner.lastSourceId);
}

TEST_F(PlotPanelTest, DraggedOrPlacedItStaysInsideItsOwner) {
    // Grabbed by the title bar and pulled far to the right and up.
    EXPECT_TRUE(mouse(VDMouseDownEvent(VDMouseButtonEvent::LEFT, 100, 275)));
    ASSERT_TRUE(plot->isDragging());
    mouse(VDMouseMoveEvent(2000, 2000));
    EXPECT_EQ(800.0f, plot->getRectangle().getX2());
    EXPECT_EQ(600.0f, plot->getRectangle().getY2());
    EXPECT_EQ(460.0f, plot->getRectangle().getWidth()) << "moved, not squeezed";
    mouse(VDMouseMoveEvent(-5000, -5000));
    EXPECT_EQ(0.0f, plot->getRectangle().getX1());
    EXPECT_EQ(0.0f, plot->getRectangle().getY1());
    mouse(VDMouseUpEvent(VDMouseButtonEvent::LEFT, -5000, -5000));

    // An owner grown smaller: moved back in, and made smaller only where it cannot fit.
    plot->setRectangle(VDRect(500, 400, 960, 660));
    plot->keepInside(VDRect(0, 0, 640, 200));
    const VDRect r = plot->getRectangle();
    EXPECT_EQ(VDRect(180, 0, 640, 200).getX1(), r.getX1());
    EXPECT_EQ(640.0f, r.getX2());
    EXPECT_EQ(0.0f, r.getY1());
    EXPECT_EQ(200.0f, r.getY2());
}

}  // namespace
