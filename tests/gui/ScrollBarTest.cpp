#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "gui/VDEvent.h"
#include "gui/VDScrollBar.h"
#include "tests/gui/ProbeWindow.h"

namespace {

using Journal = std::vector<std::string>;

// A vertical bar 30 by 200 at the origin inside a recording parent.
class ScrollBarTest : public ::testing::Test {
  protected:
    void SetUp() override { bar = adopt(parent, std::make_unique<VDScrollBar>(), VDRect(0, 0, 30, 200)); }
    int valueEvents() const {
        return static_cast<int>(std::count(journal.begin(), journal.end(), "parent:9"));
    }

    Journal journal;
    ProbeWindow parent{"parent", &journal};
    VDScrollBar* bar = nullptr;
};

TEST_F(ScrollBarTest, ThumbLengthFollowsTheRangeBetweenAHalfAndATwentieth) {
    bar->setMax(1);
    EXPECT_FLOAT_EQ(100, bar->getThumbSize());
    bar->setMax(10);
    EXPECT_FLOAT_EQ(20, bar->getThumbSize());
    bar->setMax(100);
    EXPECT_FLOAT_EQ(10, bar->getThumbSize());
    bar->setRectangle(VDRect(0, 0, 30, 400));
    EXPECT_FLOAT_EQ(20, bar->getThumbSize()) << "recomputed when the bar changes size";
}

TEST_F(ScrollBarTest, ThumbRunsFromTheTopAtZeroToTheBottomAtTheMaximum) {
    bar->setMax(10);
    VDRect thumb = bar->getThumbRect();
    EXPECT_FLOAT_EQ(180, thumb.getY1());
    EXPECT_FLOAT_EQ(200, thumb.getY2());
    bar->setValue(10);
    thumb = bar->getThumbRect();
    EXPECT_FLOAT_EQ(0, thumb.getY1());
    EXPECT_FLOAT_EQ(20, thumb.getY2());
    EXPECT_FLOAT_EQ(0, thumb.getX1());
    EXPECT_FLOAT_EQ(30, thumb.getX2());
}

TEST_F(ScrollBarTest, EmptyRangeHasAFullLengthThumbAtValueZero) {
    bar->setMax(0);
    bar->setValue(3);
    EXPECT_EQ(0, bar->getValue());
    const VDRect thumb = bar->getThumbRect();
    ASSERT_TRUE(std::isfinite(thumb.getY1()) && std::isfinite(thumb.getY2()));
    EXPECT_FLOAT_EQ(0, thumb.getY1());
    EXPECT_FLOAT_EQ(200, thumb.getY2());

    // Dragging an empty range changes nothing.
    VDMouseDownEvent down(0, 15, 150);
    EXPECT_TRUE(bar->handleEvent(&down));
    VDMouseMoveEvent move(15, 20);
    bar->handleEvent(&move);
    EXPECT_EQ(0, bar->getValue());
}

TEST_F(ScrollBarTest, SetValueClampsAndReportsOnlyChanges) {
    bar->setMax(10);
    bar->setId(7);
    bar->setValue(4);
    EXPECT_EQ(1, valueEvents());
    EXPECT_EQ(4, parent.lastValue);
    EXPECT_EQ(7, parent.lastSourceId);
    bar->setValue(4);
    EXPECT_EQ(1, valueEvents());
    bar->setValue(50);
    EXPECT_EQ(10, bar->getValue());
    EXPECT_EQ(10, parent.lastValue);
    bar->setValue(-3);
    EXPECT_EQ(0, bar->getValue());
    EXPECT_EQ(3, valueEvents());
}

TEST_F(ScrollBarTest, DraggingTheThumbMapsItsTravelOntoTheRange) {
    bar->setMax(10);  // thumb 20 long, travel 180
    VDMouseDownEvent miss(0, 15, 100);
    EXPECT_FALSE(bar->handleEvent(&miss)) << "outside the thumb";
    EXPECT_FALSE(bar->isDragging());

    VDMouseDownEvent grab(0, 15, 190);
    EXPECT_TRUE(bar->handleEvent(&grab));
    EXPECT_TRUE(bar->isDragging());
    VDMouseMoveEvent halfway(15, 100);
    bar->handleEvent(&halfway);
    EXPECT_EQ(5, bar->getValue());
    VDMouseMoveEvent outside(60, 0);
    bar->handleEvent(&outside);
    EXPECT_EQ(5, bar->getValue()) << "moves outside the bar are ignored";
    VDMouseMoveEvent far(15, 0);
    bar->handleEvent(&far);
    EXPECT_EQ(10, bar->getValue());

    VDMouseUpEvent release(0, 15, 0);
    bar->handleEvent(&release);
    EXPECT_FALSE(bar->isDragging());
    VDMouseMoveEvent after(15, 190);
    bar->handleEvent(&after);
    EXPECT_EQ(10, bar->getValue());
}

// A horizontal bar 200 by 10 that lets the pointer place its thumb, as a time bar does.
class SliderTest : public ScrollBarTest {
  protected:
    void SetUp() override {
        ScrollBarTest::SetUp();
        bar->setOrientation(VDScrollBar::HORIZONTAL);
        bar->setRectangle(VDRect(0, 0, 200, 10));
        bar->setPointerPlacesThumb(true);
        bar->setMax(100);  // thumb 10 long, travel 190: value v has its middle at 5 + 1.9 v
    }
};

TEST_F(SliderTest, APressOnTheTrackPutsTheThumbUnderThePointerAndADragCarriesIt) {
    VDMouseDownEvent press(0, 100, 5);
    EXPECT_TRUE(bar->handleEvent(&press));
    EXPECT_EQ(50, bar->getValue());
    EXPECT_EQ(50, parent.lastValue);
    const VDRect thumb = bar->getThumbRect();
    EXPECT_FLOAT_EQ(95, thumb.getX1()) << "left to right";
    EXPECT_FLOAT_EQ(105, thumb.getX2());

    // Along the bar wherever the pointer is across it, and held at the ends.
    VDMouseMoveEvent above(43, 80);
    bar->handleEvent(&above);
    EXPECT_EQ(20, bar->getValue());
    VDMouseMoveEvent beyond(900, -40);
    bar->handleEvent(&beyond);
    EXPECT_EQ(100, bar->getValue());
    VDMouseUpEvent release(0, 900, -40);
    bar->handleEvent(&release);
    VDMouseMoveEvent after(10, 5);
    bar->handleEvent(&after);
    EXPECT_EQ(100, bar->getValue());
    EXPECT_EQ(3, valueEvents());

    // A value shown for the owner is not reported back.
    bar->showValue(1000);
    EXPECT_EQ(100, bar->getValue());
    bar->showValue(30);
    EXPECT_EQ(30, bar->getValue());
    EXPECT_EQ(3, valueEvents());
}

}  // namespace
