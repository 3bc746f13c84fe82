#include <gtest/gtest.h>

#include "tests/e2e/AppSession.h"

namespace {

TEST(StartupE2ETest, OpensTheWindowAndLogsStartupLast) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();

    std::string geometry = app.x("xdotool getwindowgeometry " + app.windowId());
    EXPECT_NE(std::string::npos, geometry.find("800x600")) << geometry;

    std::vector<std::string> lines = app.logLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("Startup successful...", lines.back());

    // The session has waited for the first frame: the strip, the console and the grid are on screen.
    Image shot = app.screenshot(TESS_SCREENSHOT_DIR "/startup.png");
    EXPECT_EQ(800, shot.width);
    EXPECT_EQ(600, shot.height);
    const auto lit = [](Image::Pixel p) { return p.r != 0 || p.g != 0 || p.b != 0; };
    EXPECT_GT(shot.count(0, 0, 600, 40, lit), 600 * 40 / 2);      // the strip
    EXPECT_GT(shot.count(10, 50, 790, 550, lit), 780 * 500 / 2);  // the console
    EXPECT_GT(shot.count(0, 560, 800, 600, lit), 200);            // the grid below the console
    EXPECT_TRUE(app.running()) << app.errors();
}

}  // namespace
