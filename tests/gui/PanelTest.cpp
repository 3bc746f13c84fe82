#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/VDEvent.h"
#include "gui/VDPanel.h"
#include "gui/VDTextButton.h"
#include "tests/gui/ProbeWindow.h"

namespace {

using Journal = std::vector<std::string>;

void expectRect(const VDRect& r, float x1, float y1, float x2, float y2) {
    EXPECT_FLOAT_EQ(x1, r.getX1());
    EXPECT_FLOAT_EQ(y1, r.getY1());
    EXPECT_FLOAT_EQ(x2, r.getX2());
    EXPECT_FLOAT_EQ(y2, r.getY2());
}

// The console's panel: (10, 50, 790, 550), margin 5, title bar (15, 525, 785, 545), inside an 800 by 600
// owner that records what reaches it.
class PanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        owner.setRectangle(VDRect(0, 0, 800, 600));
        panel = adopt(owner, std::make_unique<VDPanel>(), VDRect(10, 50, 790, 550));
    }
    bool down(int x, int y, int button = 0) {
        VDMouseDownEvent e(button, x, y);
        return panel->handleEvent(&e);
    }
    bool up(int x, int y, int button = 0) {
        VDMouseUpEvent e(button, x, y);
        return panel->handleEvent(&e);
    }
    void move(int x, int y) {
        VDMouseMoveEvent e(x, y);
        panel->handleEvent(&e);
    }

    Journal journal;
    ProbeWindow owner{"owner", &journal};
    VDPanel* panel = nullptr;
};

TEST_F(PanelTest, DraggingByTheTitleBarMovesButNeverPastTheLeftOrBottomEdge) {
    EXPECT_TRUE(down(100, 530));
    EXPECT_TRUE(panel->isDragging());
    move(95, 520);
    expectRect(panel->getRectangle(), 5, 40, 785, 540);
    EXPECT_EQ((Journal{"owner:8"}), journal);

    journal.clear();
    move(89, 525);  // x1 would become -1: the whole step is refused, including its upward part
    expectRect(panel->getRectangle(), 5, 40, 785, 540);
    EXPECT_TRUE(journal.empty());
    move(90, 525);  // measured from the refused step's pointer position
    expectRect(panel->getRectangle(), 6, 40, 786, 540);

    up(90, 525);
    EXPECT_FALSE(panel->isDragging());
    move(200, 300);
    expectRect(panel->getRectangle(), 6, 40, 786, 540);
}

// Dragged far right or up, the title bar would leave the window and could never be grabbed again.
TEST_F(PanelTest, DraggingStopsAtTheRightAndTopEdgesToo) {
    EXPECT_TRUE(down(100, 530));
    move(108, 530);
    expectRect(panel->getRectangle(), 18, 50, 798, 550);
    move(111, 530);  // x2 would pass 800
    expectRect(panel->getRectangle(), 18, 50, 798, 550);
    move(111, 581);  // y2 would pass 600
    expectRect(panel->getRectangle(), 18, 50, 798, 550);
    move(110, 631);
    expectRect(panel->getRectangle(), 17, 100, 797, 600);
    up(110, 631);

    // In a window made smaller than the panel, the panel still moves back in, never further out.
    Journal smallJournal;
    ProbeWindow small{"small", &smallJournal};
    small.setRectangle(VDRect(0, 0, 500, 400));
    VDPanel* sticking = adopt(small, std::make_unique<VDPanel>(), VDRect(10, 50, 790, 550));
    VDMouseDownEvent press(0, 100, 530);
    EXPECT_TRUE(sticking->handleEvent(&press));
    VDMouseMoveEvent back(95, 520);
    sticking->handleEvent(&back);
    expectRect(sticking->getRectangle(), 5, 40, 785, 540);
    VDMouseMoveEvent out(97, 520);
    sticking->handleEvent(&out);
    expectRect(sticking->getRectangle(), 5, 40, 785, 540);
}

TEST_F(PanelTest, PressOutsideTheTitleBarDoesNotDragAndFixedPanelsStayPut) {
    down(400, 300);
    EXPECT_FALSE(panel->isDragging());
    panel->setMovable(false);
    down(100, 530);
    EXPECT_FALSE(panel->isDragging());
}

TEST_F(PanelTest, ResizingByAnEdgeStopsAtTheMinimumSizeAndTheWindowEdge) {
    EXPECT_TRUE(down(12, 300));
    EXPECT_EQ(VDPanel::EDGE_LEFT, panel->getResizeEdges());
    move(700, 300);
    expectRect(panel->getRectangle(), 630, 50, 790, 550);  // 160 wide at least
    move(-5, 300);
    expectRect(panel->getRectangle(), 0, 50, 790, 550);
    up(-5, 300);
    EXPECT_EQ(0, panel->getResizeEdges());

    EXPECT_TRUE(down(400, 548));  // top strip
    EXPECT_EQ(VDPanel::EDGE_TOP, panel->getResizeEdges());
    move(400, 60);
    expectRect(panel->getRectangle(), 0, 50, 790, 210);
}

TEST_F(PanelTest, ACornerStripResizesBothEdgesTogether) {
    EXPECT_TRUE(down(12, 52));
    EXPECT_EQ(VDPanel::EDGE_LEFT | VDPanel::EDGE_BOTTOM, panel->getResizeEdges());
    move(40, 80);
    expectRect(panel->getRectangle(), 40, 80, 790, 550);
    panel->setResizable(false);
    up(40, 80);
    down(788, 548);
    EXPECT_EQ(0, panel->getResizeEdges()) << "a fixed-size panel takes no edge";
}

TEST_F(PanelTest, HoverHighlightsTheEdgesAndTitleUnderThePointer) {
    move(400, 300);
    EXPECT_EQ(0, panel->getHighlight());
    EXPECT_TRUE(journal.empty()) << "no change, no redraw";
    move(400, 530);
    EXPECT_EQ(VDPanel::TITLE_BAR, panel->getHighlight());
    EXPECT_EQ((Journal{"owner:8"}), journal);
    move(788, 52);
    EXPECT_EQ(VDPanel::EDGE_RIGHT | VDPanel::EDGE_BOTTOM, panel->getHighlight());
    move(15, 545);  // title bar corner and the left and top strips at once (edges inclusive)
    EXPECT_EQ(VDPanel::TITLE_BAR | VDPanel::EDGE_LEFT | VDPanel::EDGE_TOP, panel->getHighlight());
}

TEST_F(PanelTest, CloseButtonSitsInTheCornerAndItsPressReachesTheOwner) {
    panel->setCloseButton(true);
    ASSERT_TRUE(panel->hasCloseButton());
    EXPECT_EQ("X", panel->getCloseButton()->getCaption());
    expectRect(panel->getCloseButton()->getRectangle(), 768, 528, 786, 546);
    EXPECT_EQ(0, panel->getChildCount()) << "the close button is not a child";

    down(777, 537);
    journal.clear();
    up(777, 537);
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ("owner:10", journal.back());

    panel->setRectangle(VDRect(0, 0, 400, 300));
    expectRect(panel->getCloseButton()->getRectangle(), 378, 278, 396, 296);
    panel->setCloseButton(false);
    EXPECT_FALSE(panel->hasCloseButton());
}

}  // namespace
