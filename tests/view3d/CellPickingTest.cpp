// Picking a cell with the mouse in the viewer window (no drawing): what a click selects, what a drag or a
// click on nothing does, and what the strip says about the selection.
#include <gtest/gtest.h>

#include <string>

#include "control/VCSimulation.h"
#include "gui/VDEvent.h"
#include "tests/support/LogRecorder.h"
#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

class CellPickingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(nullptr, createSimulation());
        window.setRectangle(VDRect(0, 0, 800, 600));
        window.initialise();
        // 20 x 20 cells of life 16 units ahead; the middle of the view is on cell (10, 11).
        ASSERT_TRUE(getSimulation()->newVisualization("pick"));
        ASSERT_TRUE(getSimulation()->importLogFile(std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log"));
        rec.clear();
    }
    void TearDown() override { destroySimulation(); }

    void mouse(VDEvent&& event) { window.handleEvent(&event); }
    void click(int x, int y, int moved = 0) {
        mouse(VDMouseDownEvent(VDMouseButtonEvent::LEFT, x, y));
        if (moved != 0) {
            mouse(VDMouseMoveEvent(x + moved, y));
        }
        mouse(VDMouseUpEvent(VDMouseButtonEvent::LEFT, x + moved, y));
    }

    VDTessaronerWindow window;
    LogRecorder rec;
};

TEST_F(CellPickingTest, AClickSelectsTheCellUnderThePointerAndADragDoesNot) {
    click(400, 300, 2);  // a little jitter is still a click, picked as the camera was at the press
    VDCellSelection& selection = window.getSelection();
    ASSERT_TRUE(selection.isActive());
    EXPECT_EQ("life", selection.getModel());
    EXPECT_EQ(10u, selection.getX());
    EXPECT_EQ(11u, selection.getY());
    EXPECT_TRUE(rec.contains("life(10,11) has no value yet")) << rec.text();
    EXPECT_EQ("life(10,11) has no value yet", selection.describe());
    getSimulation()->timeLast();
    EXPECT_TRUE(selection.describe() == "life(10,11) = 0" || selection.describe() == "life(10,11) = 1")
        << selection.describe();

    // A drag turns the camera and leaves the selection alone; so does a press on the strip.
    rec.clear();
    click(100, 300, 4);
    auto* camera = dynamic_cast<VDFirstPersonCamera*>(window.getCamera());
    EXPECT_EQ(-6.0f, camera->getYaw()) << "the jitter turned it too, as every drag does";
    camera->changeYaw(6.0f);
    click(590, 590);
    EXPECT_TRUE(selection.isActive());
    EXPECT_TRUE(rec.lines().empty()) << rec.text();

    // A click on nothing (the sky above the cells) clears it; so does closing the visualization.
    click(400, 520);
    EXPECT_FALSE(selection.isActive());
    click(400, 300);
    ASSERT_TRUE(selection.isActive());
    getSimulation()->closeVisualization();
    EXPECT_EQ("", selection.describe());
    EXPECT_FALSE(selection.isActive());
}

}  // namespace
