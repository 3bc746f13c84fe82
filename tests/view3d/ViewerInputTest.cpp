// The viewer window's time bar, time label and cell picking, driven as the main window passes input to it
// (no drawing). Keys and buttons are tested in the real window (PlaybackE2ETest).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "control/VCSimulation.h"
#include "gui/VDEvent.h"
#include "tests/support/LogRecorder.h"
#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDTessaronerWindow.h"
#include "view3d/VDTimeBar.h"
#include "view3d/VDTimeLabel.h"

namespace {

class IdleTimer : public VCPlaybackTimer {
  public:
    void schedule(unsigned, unsigned) override {}
    double now() const override { return 0.0; }
};

class ViewerInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(nullptr, createSimulation());
        getSimulation()->setPlaybackTimer(std::make_unique<IdleTimer>());
        window.setRectangle(VDRect(0, 0, 800, 600));
        window.initialise();
        // 20 x 20 cells of life 16 units ahead, the middle of the view on cell (10, 11); event times 100 to
        // 500 ms.
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
    // The bar's x for a time, once a frame has brought the bar up to date.
    int barX(double milliseconds) {
        VDTimeBar* bar = window.getTimeBar();
        bar->follow(getSimulation());
        const VDRect r = bar->getRectangle();
        const float thumb = bar->getThumbSize();
        return static_cast<int>(r.getX1() + thumb / 2 +
                                static_cast<float>((milliseconds - 100.0) / 400.0) * (r.getWidth() - thumb));
    }
    double now() const { return getSimulation()->currentTime(); }
    std::string label() const { return VDTimeLabel::compose(getSimulation(), ""); }
    float yaw() { return dynamic_cast<VDFirstPersonCamera*>(window.getCamera())->getYaw(); }

    VDTessaronerWindow window;
    LogRecorder rec;
};

TEST_F(ViewerInputTest, ThePointerOnTheTimeBarGoesToTheNearestEventTime) {
    VDTimeBar* bar = window.getTimeBar();
    const int y = static_cast<int>(bar->getRectangle().getY1()) + 2;
    click(barX(265), y);
    EXPECT_EQ(300.0, now());
    // The drag goes on while the pointer wanders off the bar, and the camera does not turn.
    mouse(VDMouseDownEvent(VDMouseButtonEvent::LEFT, barX(230), y));
    EXPECT_EQ(200.0, now());
    mouse(VDMouseMoveEvent(barX(480), y - 30));
    EXPECT_EQ(500.0, now());
    mouse(VDMouseUpEvent(VDMouseButtonEvent::LEFT, barX(480), y - 30));
    EXPECT_FALSE(bar->isDragging());
    EXPECT_FALSE(window.isDragging());
    EXPECT_EQ(0.0f, yaw());
    EXPECT_EQ("00:00:00:500 / 00:00:00:500", label());
    getSimulation()->play();
    EXPECT_EQ("00:00:00:000 / 00:00:00:500  playing", label()) << "played from the start";

    // Without a run there is no bar to press: the press turns the camera as anywhere else.
    getSimulation()->closeVisualization();
    bar->follow(getSimulation());
    EXPECT_EQ("", label());
    mouse(VDMouseDownEvent(VDMouseButtonEvent::LEFT, barX(300), y));
    EXPECT_FALSE(bar->isDragging());
    EXPECT_TRUE(window.isDragging());
}

TEST_F(ViewerInputTest, AClickSelectsTheCellUnderThePointerAndADragDoesNot) {
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
    EXPECT_EQ(-6.0f, yaw()) << "the jitter turned it too, as every drag does";
    dynamic_cast<VDFirstPersonCamera*>(window.getCamera())->changeYaw(6.0f);
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
