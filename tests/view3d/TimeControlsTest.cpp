// Time in the 3D view: the keys, "Play" and "Stop", the time bar and the time label, driven through the
// viewer window as the main window passes input to it (no drawing).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "control/VCSimulation.h"
#include "gui/VDEvent.h"
#include "gui/VDKey.h"
#include "gui/VDTextButton.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"
#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDTessaronerWindow.h"
#include "view3d/VDTimeBar.h"
#include "view3d/VDTimeLabel.h"

namespace {

using Lines = std::vector<std::string>;

class CountingTimer : public VCPlaybackTimer {
  public:
    explicit CountingTimer(int* requests) : m_requests(requests) {}
    void schedule(unsigned, unsigned token) override {
        ++*m_requests;
        lastToken = token;
    }
    double now() const override { return 0.0; }
    static unsigned lastToken;

  private:
    int* m_requests;
};
unsigned CountingTimer::lastToken = 0;

class TimeControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(nullptr, createSimulation());
        getSimulation()->setPlaybackTimer(std::make_unique<CountingTimer>(&requests));
        window.setRectangle(VDRect(0, 0, 800, 600));
        window.initialise();
    }
    void TearDown() override { destroySimulation(); }

    // Times 1, 2, 4 and 10 s.
    void openRun() {
        ASSERT_TRUE(getSimulation()->newVisualization("run"));
        ASSERT_TRUE(getSimulation()->importLogFile(
            dir.write("run.log",
                      "msg Y / 00:00:01:000 / grid(1,0)(09) / out / 1 to grid(02)\n"
                      "msg Y / 00:00:02:000 / grid(0,0)(04) / out / 2 to grid(02)\n"
                      "msg Y / 00:00:04:000 / grid(1,0)(09) / out / 3 to grid(02)\n"
                      "msg Y / 00:00:10:000 / grid(1,0)(09) / out / 4 to grid(02)\n")));
        rec.clear();
    }
    bool key(int value) {
        VDKeyDownEvent down{VDKey(value)};
        return window.handleEvent(&down);
    }
    void click(float x, float y) {
        VDMouseDownEvent down(VDMouseButtonEvent::LEFT, static_cast<int>(x), static_cast<int>(y));
        window.handleEvent(&down);
        VDMouseUpEvent up(VDMouseButtonEvent::LEFT, static_cast<int>(x), static_cast<int>(y));
        window.handleEvent(&up);
    }
    void clickMiddleOf(VDWindow* widget) {
        const VDRect r = widget->getRectangle();
        click((r.getX1() + r.getX2()) / 2, (r.getY1() + r.getY2()) / 2);
    }
    // The bar's x for a time, as it shows it once a frame has brought it up to date.
    float barX(double milliseconds) {
        VDTimeBar* bar = window.getTimeBar();
        bar->follow(getSimulation());
        const VDRect r = bar->getRectangle();
        const float thumb = bar->getThumbSize();
        return r.getX1() + thumb / 2 +
               static_cast<float>((milliseconds - 1000.0) / 9000.0) * (r.getWidth() - thumb);
    }
    double now() const { return getSimulation()->currentTime(); }

    TempDir dir;
    int requests = 0;
    VDTessaronerWindow window;
    LogRecorder rec;
};

TEST_F(TimeControlsTest, ArrowsHomeAndEndMoveTimeAsTheTimeCommandsDo) {
    openRun();
    EXPECT_TRUE(key(VDKey::KEY_RIGHT));
    EXPECT_TRUE(key(VDKey::KEY_RIGHT));
    EXPECT_EQ(2000.0, now());
    EXPECT_TRUE(key(VDKey::KEY_LEFT));
    EXPECT_TRUE(key(VDKey::KEY_END));
    EXPECT_EQ(10000.0, now());
    EXPECT_TRUE(key(VDKey::KEY_RIGHT));
    EXPECT_EQ(10000.0, now()) << "stays at the end";
    EXPECT_TRUE(key(VDKey::KEY_HOME));
    EXPECT_EQ(0.0, now());
    EXPECT_EQ((Lines{"Time incremented to: 00:00:01:000", "Time incremented to: 00:00:02:000",
                     "Time decremented to: 00:00:01:000", "Time incremented to: 00:00:10:000",
                     "Time decremented to: 00:00:00:000"}),
              rec.lines());
    // With a modifier they are not time keys: Shift+Right goes on to the strip.
    EXPECT_FALSE(key(VDKey::KEY_RIGHT | VDKey::KEY_SHIFT));
    EXPECT_EQ(0.0, now());
}

TEST_F(TimeControlsTest, SpacePlaysAndStopsAndThePlayAndStopButtonsDoTheSame) {
    EXPECT_TRUE(key(' '));
    EXPECT_EQ((Lines{"Nothing to play"}), rec.lines()) << "no visualization";
    openRun();
    EXPECT_TRUE(key(' '));
    EXPECT_TRUE(getSimulation()->isPlaying());
    EXPECT_TRUE(key(' '));
    EXPECT_FALSE(getSimulation()->isPlaying());

    clickMiddleOf(window.getPlayButton());
    EXPECT_TRUE(getSimulation()->isPlaying());
    const int before = requests;
    clickMiddleOf(window.getPlayButton());
    EXPECT_EQ(before, requests) << "Play while playing keeps the playback as it is";
    EXPECT_TRUE(getSimulation()->playbackTimerFired(CountingTimer::lastToken));
    EXPECT_EQ(1000.0, now());
    clickMiddleOf(window.getStopButton());
    EXPECT_FALSE(getSimulation()->isPlaying());
    EXPECT_EQ((Lines{"Playing at 10 steps per second", "Playback stopped at 00:00:00:000",
                     "Playing at 10 steps per second", "Time incremented to: 00:00:01:000",
                     "Playback stopped at 00:00:01:000"}),
              rec.lines());
    auto* camera = dynamic_cast<VDFirstPersonCamera*>(window.getCamera());
    EXPECT_EQ(0.0f, camera->getYaw());
    EXPECT_FALSE(window.isDragging());
}

TEST_F(TimeControlsTest, ClickingOrDraggingTheTimeBarGoesToTheNearestEventTime) {
    openRun();
    VDTimeBar* bar = window.getTimeBar();
    const float y = (bar->getRectangle().getY1() + bar->getRectangle().getY2()) / 2;
    // Nearer to 4 s than to 2 s.
    click(barX(3200), y);
    EXPECT_EQ(4000.0, now());
    click(barX(2900), y);
    EXPECT_EQ(2000.0, now());
    click(bar->getRectangle().getX2(), y);
    EXPECT_EQ(10000.0, now());

    // A drag along the bar, wandering off it, carries the time; the camera does not turn.
    VDMouseDownEvent press(VDMouseButtonEvent::LEFT, static_cast<int>(barX(1000)), static_cast<int>(y));
    window.handleEvent(&press);
    EXPECT_EQ(1000.0, now());
    VDMouseMoveEvent along(static_cast<int>(barX(4100)), static_cast<int>(y) - 30);
    window.handleEvent(&along);
    EXPECT_EQ(4000.0, now());
    VDMouseUpEvent release(VDMouseButtonEvent::LEFT, static_cast<int>(barX(4100)), static_cast<int>(y) - 30);
    window.handleEvent(&release);
    EXPECT_FALSE(bar->isDragging());
    auto* camera = dynamic_cast<VDFirstPersonCamera*>(window.getCamera());
    EXPECT_EQ(0.0f, camera->getYaw());
    EXPECT_EQ(0.0f, camera->getPitch());

    // The thumb shows where the time went.
    bar->follow(getSimulation());
    EXPECT_EQ(VDTimeBar::kResolution / 3, bar->getValue());
}

TEST_F(TimeControlsTest, WithoutARunTheTimeBarTakesNoPressAndTheLabelIsEmpty) {
    VDTimeBar* bar = window.getTimeBar();
    bar->follow(getSimulation());
    EXPECT_FALSE(bar->hasRun());
    EXPECT_EQ("", VDTimeLabel::compose(getSimulation(), ""));
    const VDRect r = bar->getRectangle();
    VDMouseDownEvent press(VDMouseButtonEvent::LEFT, static_cast<int>(r.getX1() + 50),
                           static_cast<int>(r.getY1() + 1));
    window.handleEvent(&press);
    EXPECT_FALSE(bar->isDragging());
    EXPECT_TRUE(window.isDragging()) << "a press there turns the camera, as anywhere else";
}

TEST_F(TimeControlsTest, TheLabelShowsTheCurrentAndTheLastTimeAndWhetherItPlays) {
    ASSERT_TRUE(getSimulation()->newVisualization("empty"));
    EXPECT_EQ("00:00:00:000 / 00:00:00:000", VDTimeLabel::compose(getSimulation(), ""));
    getSimulation()->closeVisualization();
    openRun();
    EXPECT_EQ("00:00:00:000 / 00:00:10:000", VDTimeLabel::compose(getSimulation(), ""));
    key(VDKey::KEY_RIGHT);
    key(' ');
    EXPECT_EQ("00:00:01:000 / 00:00:10:000  playing  grid(1,0) = 1",
              VDTimeLabel::compose(getSimulation(), "grid(1,0) = 1"));
    VDTimeLabel* label = window.getTimeLabel();
    EXPECT_TRUE(label->follow(getSimulation(), ""));
    EXPECT_FALSE(label->follow(getSimulation(), "")) << "no change";
    EXPECT_EQ("00:00:01:000 / 00:00:10:000  playing", label->getText());
}

}  // namespace
