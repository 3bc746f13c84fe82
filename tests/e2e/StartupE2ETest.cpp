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

    Image shot = app.screenshot(TESS_SCREENSHOT_DIR "/startup.png");
    EXPECT_EQ(800, shot.width);
    EXPECT_EQ(600, shot.height);
    EXPECT_TRUE(app.running()) << app.errors();
}

}  // namespace
