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
    // Far from 0, a span of a few neighbouring doubles still ends, with rising ticks inside it.
    const Values far = VDPlotPanel::niceTicks(16223334039552.0, 16223334039552.004, 5);
    EXPECT_FALSE(far.empty());
    EXPECT_LE(far.size(), 5u);
    EXPECT_TRUE(std::is_sorted(far.begin(), far.end()) &&
                std::adjacent_find(far.begin(), far.end()) == far.end());
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

// Picks go to the owner with the x under the pointer, kept within the span while the drag goes on.
TEST_F(PlotPanelTest, APressAndADragInThePlotPickTheValueUnderThePointer) {
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
    EXPECT_TRUE(mouse(VDMouseDownEvent(VDMouseButtonEvent::LEFT, static_cast<int>(plot->pixelX(1000)), y)));
    EXPECT_TRUE(plot->isPicking());
    mouse(VDMouseMoveEvent(static_cast<int>(area.getX1()) - 30, y + 200));
    mouse(VDMouseMoveEvent(static_cast<int>(area.getX2()) + 30, y));
    mouse(VDMouseUpEvent(VDMouseButtonEvent::LEFT, static_cast<int>(area.getX2()) + 30, y));
    EXPECT_FALSE(plot->isPicking());
    ASSERT_EQ(3u, picked.xs.size());
    EXPECT_NEAR(1000.0, picked.xs[0], 4000.0 / area.getWidth());
    EXPECT_EQ(0.0, picked.xs[1]);
    EXPECT_EQ(4000.0, picked.xs[2]);
    EXPECT_EQ(7, picked.lastSourceId);

    // On the frame, not in the plot: nothing is picked.
    mouse(VDMouseDownEvent(VDMouseButtonEvent::LEFT, 22, 150));
    mouse(VDMouseUpEvent(VDMouseButtonEvent::LEFT, 22, 150));
    EXPECT_EQ(3u, picked.xs.size());
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

TEST_F(PlotPanelTest, KeptInsideItsOwnerItMovesAndShrinksOnlyWhereItMust) {
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
