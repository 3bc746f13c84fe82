// The hierarchy of a plain DEVS run in the real program: drawn at start-up and fitted in view, vis_model with
// Tab completing the model's name, and the blocks' looks following the time.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/e2e/AppSession.h"
#include "tests/support/TempDir.h"
#include "tools/DevsLog.h"

namespace {

std::string shotPath(const std::string& name) {
    return std::string(TESS_SCREENSHOT_DIR) + "/models_" + name + ".png";
}

// Pixels of a block's front face in one of the looks (the front is drawn at full strength).
// Left of the key of block colours at the right edge.
int countLook(const Image& image, int r, int g, int b) {
    return image.count(0, 45, image.width - 60, image.height, [&](Image::Pixel p) {
        return std::abs(p.r - r) <= 6 && std::abs(p.g - g) <= 6 && std::abs(p.b - b) <= 6;
    });
}

TEST(ModelsE2ETest, APlainRunShowsItsModelsAndVisModelDescribesThem) {
    // top holds g1 .. g3, each holding three atomic models; five steps, 100 ms apart.
    TempDir files;
    const std::string log = files.file("plain.log");
    {
        std::ofstream out(log);
        DevsLogOptions options;
        options.depth = 2;
        options.fanout = 3;
        options.steps = 5;
        ASSERT_TRUE(writeDevsLog(options, out));
    }
    AppSession app({log});
    ASSERT_TRUE(app.started()) << app.errors();
    ASSERT_TRUE(app.waitForLogLine("View fitted to 13 models", 120)) << app.log();

    // At the start every model has reported "..." in its first D: passive, slate grey.
    const Image start = app.settledScreenshot(shotPath("start"));
    ASSERT_TRUE(start.valid());
    EXPECT_GT(countLook(start, 107, 112, 122), 300) << "the passive blocks";
    EXPECT_EQ(0, countLook(start, 255, 209, 51)) << "nothing active";
    // The key at the right edge says what the colours mean, amber and slate among them.
    const auto amber = [](Image::Pixel p) {
        return std::abs(p.r - 255) <= 6 && std::abs(p.g - 209) <= 6 && std::abs(p.b - 51) <= 6;
    };
    EXPECT_GT(start.count(start.width - 60, 45, start.width, start.height, amber), 100);

    // 00:00:00:110: an atomic model answers its input, amber.
    app.key("Right");
    app.key("Right");
    ASSERT_TRUE(app.waitForLogLine("Time incremented to: 00:00:00:110")) << app.log();
    const Image answer = app.settledScreenshot(shotPath("answer"));
    EXPECT_GT(countLook(answer, 255, 209, 51), 20) << "the active block";

    app.key("grave");
    app.type("vis_model g");
    app.key("Tab");  // g1, g2, g3: listed
    app.type("2");
    app.key("Tab");
    app.key("Return");
    ASSERT_TRUE(app.waitForLogLine("g2: coupled, in top; children a2_1, a2_2, a2_3")) << app.log();
    EXPECT_TRUE(app.running()) << app.errors();
}

}  // namespace
