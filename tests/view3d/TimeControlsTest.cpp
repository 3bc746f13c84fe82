// The time bar and the time label of the 3D view, driven through the viewer window as the main window
// passes input to it (no drawing). The keys and buttons are tested in the real window (PlaybackE2ETest).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "control/VCSimulation.h"
#include "gui/VDEvent.h"
#include "tests/support/TempDir.h"
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

class TimeControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(nullptr, createSimulation());
        getSimulation()->setPlaybackTimer(std::make_unique<IdleTimer>());
        window.setRectangle(VDRect(0, 0, 800, 600));
        window.initialise();
        // Times 1, 2, 4 and 10 s.
        ASSERT_TRUE(getSimulation()->newVisualization("run"));
        ASSERT_TRUE(getSimulation()->importLogFile(
            dir.write("run.log",
                      "msg Y / 00:00:01:000 / grid(1,0)(09) / out / 1 to grid(02)\n"
                      "msg Y / 00:00:02:000 / grid(0,0)(04) / out / 2 to grid(02)\n"
                      "msg Y / 00:00:04:000 / grid(1,0)(09) / out / 3 to grid(02)\n"
                      "msg Y / 00:00:10:000 / grid(1,0)(09) / out / 4 to grid(02)\n")));
    }
    void TearDown() override { destroySimulation(); }

    void press(int x, int y) {
        VDMouseDownEvent down(VDMouseButtonEvent::LEFT, x, y);
        window.handleEvent(&down);
    }
    void release(int x, int y) {
        VDMouseUpEvent up(VDMouseButtonEvent::LEFT, x, y);
        window.handleEvent(&up);
    }
    // The bar's x for a time, once a frame has brought the bar up to date: the thumb's middle travels
    // from 1 s to 10 s.
    int barX(double milliseconds) {
        VDTimeBar* bar = window.getTimeBar();
        bar->follow(getSimulation());
        const VDRect r = bar->getRectangle();
        const float thumb = bar->getThumbSize();
        return static_cast<int>(r.getX1() + thumb / 2 +
                                static_cast<float>((milliseconds - 1000.0) / 9000.0) *
                                    (r.getWidth() - thumb));
    }
    double now() const { return getSimulation()->currentTime(); }
    std::string label() const { return VDTimeLabel::compose(getSimulation(), ""); }

    TempDir dir;
    VDTessaronerWindow window;
};

TEST_F(TimeControlsTest, ThePointerOnTheTimeBarGoesToTheNearestEventTime) {
    VDTimeBar* bar = window.getTimeBar();
    const int y = static_cast<int>(bar->getRectangle().getY1()) + 2;
    press(barX(3200), y);  // nearer to 4 s than to 2 s
    release(barX(3200), y);
    EXPECT_EQ(4000.0, now());
    press(barX(2900), y);
    EXPECT_EQ(2000.0, now());
    // The drag goes on while the pointer wanders off the bar, and the camera does not turn.
    VDMouseMoveEvent along(barX(9000), y - 30);
    window.handleEvent(&along);
    EXPECT_EQ(10000.0, now());
    release(barX(9000), y - 30);
    EXPECT_FALSE(bar->isDragging());
    EXPECT_FALSE(window.isDragging());
    EXPECT_EQ(0.0f, dynamic_cast<VDFirstPersonCamera*>(window.getCamera())->getYaw());

    EXPECT_EQ("00:00:10:000 / 00:00:10:000", label());
    getSimulation()->play();
    EXPECT_EQ("00:00:00:000 / 00:00:10:000  playing", label()) << "played from the start";

    // Without a run there is no bar to press: the press turns the camera as anywhere else.
    getSimulation()->closeVisualization();
    bar->follow(getSimulation());
    EXPECT_EQ("", label());
    press(barX(3000), y);
    EXPECT_FALSE(bar->isDragging());
    EXPECT_TRUE(window.isDragging());
}

}  // namespace
