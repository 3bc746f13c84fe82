// Playback and moving through time in the real window: the Play and Stop buttons, the keys, and the time
// bar; and picking a cell with the mouse. While something plays, the tests wait for the log's lines, never
// for a quiet screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/AppSession.h"

namespace {

using Lines = std::vector<std::string>;

// The strip's widgets in GLUT's window coordinates (from the top-left corner).
constexpr int kPlayX = 30, kStopX = 82, kButtonY = 26;
constexpr int kTimeBarY = 37;

std::string shotPath(const std::string& name) {
    return std::string(TESS_SCREENSHOT_DIR) + "/playback_" + name + ".png";
}

// 120 generations of a 20 x 20 run, one every 100 ms from 00:00:00:100 to 00:00:12:000; the time starts
// at 0, before them.
void importRun(AppSession& app) {
    app.command("vis_new play");
    app.command(std::string("vis_import_logfile ") + TESS_PLAYBACK_LOG);
    app.command("print VIS_ML");
    ASSERT_TRUE(app.waitForLogLine("DEVS model: life", 120)) << app.errors();
}

std::string tenths(int n) {
    char text[64];
    std::snprintf(text, sizeof text, "Time incremented to: 00:00:%02d:%03d", n / 10, n % 10 * 100);
    return text;
}

int count(const Lines& lines, const std::string& prefix) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

// Plays at one step a second, so that the run's steps last two minutes: however long a busy machine takes
// to see the first steps, the run is not over before the test stops it. The button and Space then play at
// that rate too.
void chooseSlowRate(AppSession& app) {
    app.command("play 1");
    app.command("stop");
    ASSERT_TRUE(app.waitForLogText("Playback stopped at ", 30)) << app.log();
}

// Waits for the first three steps and checks they came in order, each once.
void expectFirstSteps(AppSession& app) {
    ASSERT_TRUE(app.waitForLogLine(tenths(3), 60)) << app.log();
    const Lines lines = app.logLines();
    auto at = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    EXPECT_LT(at(tenths(1)), at(tenths(2)));
    EXPECT_LT(at(tenths(2)), at(tenths(3)));
    EXPECT_EQ(1, count(lines, tenths(2)));
}

// After a stop, the steps stay as many for a whole second.
void expectNoMoreSteps(AppSession& app) {
    ASSERT_TRUE(app.waitForLogText("Playback stopped at ", 30)) << app.log();
    const int steps = count(app.logLines(), "Time incremented to: ");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_EQ(steps, count(app.logLines(), "Time incremented to: "));
    EXPECT_EQ(0, count(app.logLines(), "Playback finished at ")) << "stopped before the end of the run";
}

TEST(PlaybackE2ETest, PlayStepsThroughTheRunAndStopHoldsIt) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    importRun(app);
    chooseSlowRate(app);
    app.key("grave");
    const Image before = app.settledScreenshot(shotPath("before"));
    ASSERT_TRUE(before.valid());

    app.click(kPlayX, kButtonY);
    ASSERT_TRUE(app.waitForLogLine("Playing at 1 steps per second", 20, 2)) << app.log();
    expectFirstSteps(app);
    // Stopped at once, long before the run's two minutes are over: a picture taken first could take seconds.
    app.click(kStopX, kButtonY);
    expectNoMoreSteps(app);
    // Three or more steps on: the time in the strip differs, by one digit at least (28 or more pixels in
    // this font).
    const Image stopped = app.settledScreenshot(shotPath("playing"));
    ASSERT_TRUE(stopped.valid());
    EXPECT_GT(stopped.differences(before, 280, 15, 800, 36), 15);
    EXPECT_TRUE(app.running()) << app.errors();
}

TEST(PlaybackE2ETest, SpaceTheTimeKeysAndTheTimeBarMoveTime) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    importRun(app);
    chooseSlowRate(app);
    app.key("grave");
    app.key("space");
    expectFirstSteps(app);
    app.key("space");
    expectNoMoreSteps(app);

    app.key("Home");
    ASSERT_TRUE(app.waitForLogLine("Time decremented to: 00:00:00:000")) << app.log();
    app.key("Right");
    app.key("Right");
    ASSERT_TRUE(app.waitForLogLine(tenths(2), 20, 2)) << app.log();
    app.key("Left");
    ASSERT_TRUE(app.waitForLogLine("Time decremented to: 00:00:00:100")) << app.log();
    app.key("End");
    ASSERT_TRUE(app.waitForLogLine("Time incremented to: 00:00:12:000")) << app.log();

    // The bar spans 00:00:00:100 to 00:00:12:000 over the thumb's travel from x = 20 to 580: x = 298 is
    // about 00:00:06:002, and a pixel either way is still nearest to 00:00:06:000.
    app.click(298, kTimeBarY);
    ASSERT_TRUE(app.waitForLogLine("Time decremented to: 00:00:06:000")) << app.log();
    // A drag to the left end, and off the bar, goes back to the first event time.
    app.drag(298, kTimeBarY, 2, kTimeBarY + 10);
    ASSERT_TRUE(app.waitForLogLine("Time decremented to: 00:00:00:100", 20, 2)) << app.log();
    app.settledScreenshot(shotPath("time_bar"));
    EXPECT_TRUE(app.running()) << app.errors();
}

TEST(PlaybackE2ETest, ClickingACellPrintsWhatItHoldsAndFFitsTheView) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    importRun(app);
    app.key("grave");
    app.key("End");
    ASSERT_TRUE(app.waitForLogLine("Time incremented to: 00:00:12:000")) << app.log();
    // The middle of the view, 16 units ahead, is on cell (10, 11) of life.
    app.click(400, 300);
    ASSERT_TRUE(app.waitForLogText("\nlife(10,11) = ")) << app.log();
    const Lines lines = app.logLines();
    const std::string picked = *std::find_if(
        lines.rbegin(), lines.rend(), [](const std::string& l) { return l.rfind("life(10,11) = ", 0) == 0; });
    app.settledScreenshot(shotPath("picked"));
    // A drag turns the camera and picks nothing.
    app.drag(300, 300, 330, 300);
    ASSERT_TRUE(app.sync());
    EXPECT_EQ(1, count(app.logLines(), "life("));
    // vis_cell prints the same line.
    app.key("grave");
    app.command("vis_cell life 10 11");
    ASSERT_TRUE(app.waitForLogLine(picked, 20, 2)) << app.log();
    app.key("grave");
    app.key("f");
    ASSERT_TRUE(app.waitForLogLine("View fitted to 1 model")) << app.log();
    EXPECT_TRUE(app.running()) << app.errors();
}

TEST(PlaybackE2ETest, APickedCellsLongLineIsCutShortAtTheEndOfTheStrip) {
    // A window lower than the usual 600 rows, and a 3 x 3 cell space whose name alone fills the strip.
    const std::string name = "a_cell_space_whose_name_is_far_too_long_for_the_strip";
    TempDir logs;
    std::string text;
    for (int x = 0; x < 3; ++x) {
        for (int y = 0; y < 3; ++y) {
            text += "msg Y / 00:00:01:000 / " + name + "(" + std::to_string(x) + "," + std::to_string(y) +
                    ")(05) / out / 1.00000 to " + name + "(02)\n";
        }
    }
    AppSession app({"--size", "720x480", "--time", "end", logs.write("long.log", text)});
    ASSERT_TRUE(app.started()) << app.errors();
    // Fitted in view by the start-up, left of the legend: the middle cell is in the middle of the coloured
    // pixels (not grey like text) below the strip.
    const Image fitted = app.settledScreenshot();
    int left = 720, right = -1, top = 480, bottom = -1;
    for (int y = 45; y < 480; ++y) {
        for (int x = 0; x < 520; ++x) {
            const Image::Pixel p = fitted.at(x, y);
            if (std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}) > 60) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_LT(left, right);
    app.click((left + right) / 2, (top + bottom) / 2);
    ASSERT_TRUE(app.waitForLogLine(name + "(1,1) = 1.000000 since 00:00:01:000")) << app.log();
    const Image shot = app.settledScreenshot(shotPath("long_label"));
    ASSERT_EQ(720, shot.width);
    auto labelGrey = [](Image::Pixel p) {
        return std::abs(p.r - 204) <= 3 && std::abs(p.g - 204) <= 3 && std::abs(p.b - 204) <= 3;
    };
    // The strip is 600 wide here (the window less 200, but never under 600): the label ends inside it,
    // close to its end, and nothing of it lies beyond.
    EXPECT_GT(shot.count(540, 0, 600, 40, labelGrey), 20);
    EXPECT_EQ(0, shot.count(600, 0, 720, 40, labelGrey));
}

}  // namespace
