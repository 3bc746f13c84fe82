// The examining camera in the real window: view presets by key and command, the wheel, an orbit that
// keeps the picked cell in the middle, and the axes triad turning with the camera.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/e2e/AppSession.h"

namespace {

bool lit(Image::Pixel p) {
    return p.r > 8 || p.g > 8 || p.b > 8;
}

// The triad's corner, bottom-left, as the screenshot counts (from the top).
int triadPixels(const Image& image, int r, int g, int b) {
    return image.count(0, image.height - 80, 80, image.height, [&](Image::Pixel p) {
        return std::abs(p.r - r) < 40 && std::abs(p.g - g) < 40 && std::abs(p.b - b) < 40;
    });
}

TEST(CameraE2ETest, PresetsWheelOrbitAndTriad) {
    const std::string log = std::string(TESS_SHARED_DIR) + "/logs/falling_mass_3d_8x8x8.log";
    if (!std::filesystem::exists(log)) {
        GTEST_SKIP() << "no real logs";
    }
    // At the start no cell has a value: all of them are the block's background, drawn here to be seen.
    AppSession app({"--command", "vis_background fallrock show", log});
    ASSERT_TRUE(app.started()) << app.errors();
    ASSERT_TRUE(app.waitForLogLine("View fitted to 1 model", 120)) << app.errors();
    ASSERT_TRUE(app.waitForLogLine("fallrock: the background no value (512 of 512 cells) is drawn", 60));
    const Image iso = app.settledScreenshot(TESS_SCREENSHOT_DIR "/camera_iso.png");
    ASSERT_TRUE(iso.valid());
    // x red, y green, z blue in the corner.
    EXPECT_GT(triadPixels(iso, 255, 64, 64), 10);
    EXPECT_GT(triadPixels(iso, 64, 230, 64), 10);
    EXPECT_GT(triadPixels(iso, 89, 140, 255), 10);

    // Key 5: from above. The picture and the triad turn.
    app.key("5");
    ASSERT_TRUE(app.waitForLogLine("View fitted to 1 model", 60, 2));
    const Image top = app.settledScreenshot(TESS_SCREENSHOT_DIR "/camera_top.png");
    EXPECT_GT(top.differences(iso, 0, 40, 800, 600), 2000);
    EXPECT_GT(top.differences(iso, 0, 520, 80, 600), 20) << "the triad turned";

    // The wheel: three notches in over the block, three out bring the picture back.
    app.click(300, 330, 4);
    app.click(300, 330, 4);
    app.click(300, 330, 4);
    const Image closer = app.settledScreenshot(TESS_SCREENSHOT_DIR "/camera_wheel.png");
    EXPECT_GT(closer.differences(top, 0, 40, 800, 600), 2000);
    EXPECT_TRUE(lit(closer.at(300, 330))) << "the block stays under the pointer";
    app.click(300, 330, 5);
    app.click(300, 330, 5);
    app.click(300, 330, 5);
    const Image back = app.settledScreenshot();
    EXPECT_LT(back.differences(top, 0, 40, 800, 520), 200) << "out undoes in";

    // Pick a cell, then orbit with the middle button: the picked cell's cyan outline comes to the middle of
    // the picture and stays there.
    app.click(300, 330);
    ASSERT_TRUE(app.waitForLogText("fallrock("));
    auto cyan = [](Image::Pixel p) { return p.r < 80 && p.g > 180 && p.b > 180; };
    EXPECT_LT(app.settledScreenshot().count(360, 260, 440, 340, cyan), 4) << "not in the middle before";
    app.drag(300, 330, 360, 330, 2);
    const Image orbited = app.settledScreenshot(TESS_SCREENSHOT_DIR "/camera_orbit.png");
    EXPECT_GT(orbited.differences(back, 0, 40, 800, 600), 1000);
    const int moved = orbited.count(0, 40, 800, 600, cyan);
    EXPECT_GT(moved, 8);
    EXPECT_GE(orbited.count(360, 260, 440, 340, cyan), moved * 9 / 10) << "in the middle after";
    app.key("grave");
    app.command("vis_view sideways");
    EXPECT_TRUE(app.waitForLogText(
        "Unknown view: sideways (one of front | back | left | right | top | bottom | iso)"));
    EXPECT_EQ("", app.errors());
}

}  // namespace
