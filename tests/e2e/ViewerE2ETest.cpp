// The 3D view of the real program: the first frame, an imported Game of Life run, the camera driven by
// commands, mouse and buttons, and a resized window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/AppSession.h"

namespace {

using Pixel = Image::Pixel;

// The grid's grey, or a share of it where a line covers part of a pixel.
bool isGrid(Pixel p) {
    return p.r == p.g && p.g == p.b && p.r >= 24 && p.r <= 135;
}
bool isBlack(Pixel p) {
    return p.r == 0 && p.g == 0 && p.b == 0;
}
// Cubes are green, lit or in shadow, without red; the widgets' greenish greys all have red in them.
bool isCube(Pixel p) {
    return p.r < 30 && p.g >= 25 && p.b < p.g;
}

// The cube pixels of a picture: how many, and the box around them. The legends' column at the right edge
// (40 pixels) is left out: the no-value swatch there is the cubes' green.
struct Block {
    int count = 0;
    int minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1;
    int width() const { return maxX - minX + 1; }
    int height() const { return maxY - minY + 1; }
    double centreX() const { return (minX + maxX) / 2.0; }
    double centreY() const { return (minY + maxY) / 2.0; }
};
Block findCubes(const Image& image) {
    Block b;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width - 40; ++x) {
            if (isCube(image.at(x, y))) {
                ++b.count;
                b.minX = std::min(b.minX, x);
                b.maxX = std::max(b.maxX, x);
                b.minY = std::min(b.minY, y);
                b.maxY = std::max(b.maxY, y);
            }
        }
    }
    return b;
}

std::string sample(const std::string& name) {
    return std::string(TESS_SOURCE_DIR) + "/samples/" + name;
}

// Opens a visualization, imports the sample run of "life" and waits until the import is through: the model
// listing asked for afterwards reaches the log only then.
void importLife(AppSession& app) {
    app.command("vis_new demo");
    app.command("vis_import_logfile " + sample("life_20x20.log"));
    app.command("print VIS_ML");
    ASSERT_TRUE(app.waitForLogLine("DEVS model: life", 120)) << app.errors();
}

// Types a console line with the console open, then closes it again for the picture.
void commandWithConsoleClosed(AppSession& app, const std::string& line) {
    app.key("grave");
    app.command(line);
    app.key("grave");
}

TEST(ViewerE2ETest, FirstFrameShowsTheGridTheButtonStripAndTheConsole) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    Image shot = app.settledScreenshot(TESS_SCREENSHOT_DIR "/viewer_first_frame.png");
    ASSERT_TRUE(shot.valid());

    // The grid lies below the horizon (the far edge, 11 units ahead and 1 below, is 27 pixels under the
    // middle); around the console only its bottom rows and side margins show.
    auto gridAround = [&](int top, int bottom) {
        return shot.count(0, top, 8, bottom, isGrid) + shot.count(793, top, 800, bottom, isGrid) +
               shot.count(0, std::max(top, 552), 800, bottom, isGrid);
    };
    EXPECT_EQ(0, gridAround(52, 322) + shot.count(601, 0, 800, 45, isGrid));
    EXPECT_GT(gridAround(332, 600), 200);
    // The strip along the top, 600 wide, with its four buttons: "Play", "Stop", "Console" and "Move
    // Forward". Without a visualization there is no time to show right of them.
    EXPECT_LT(shot.count(0, 0, 600, 40, isBlack), 600 * 40 / 2);
    EXPECT_EQ(0, shot.count(601, 0, 800, 40, [](Pixel p) { return !isBlack(p); }));
    auto varied = [&](int x0, int x1) {
        Pixel first = shot.at(x0, 26);
        return shot.count(x0, 18, x1, 35,
                          [&](Pixel p) { return p.r != first.r || p.g != first.g || p.b != first.b; });
    };
    EXPECT_GT(varied(8, 52), 50);
    EXPECT_GT(varied(63, 102), 50);
    EXPECT_EQ(0, varied(290, 590));
    EXPECT_GT(varied(112, 163), 50);
    EXPECT_GT(varied(172, 273), 80);
    // The console covers the middle of the picture.
    EXPECT_LT(shot.count(10, 50, 790, 550, isBlack), 780 * 500 / 2);

    // Start-up lists the ARB extensions Mesa reports before it is done.
    std::vector<std::string> lines = app.logLines();
    auto startup = std::find(lines.begin(), lines.end(), "Startup successful...");
    for (const char* name : {"GL_ARB_multitexture", "GL_ARB_vertex_buffer_object", "GL_ARB_vertex_program",
                             "GL_ARB_fragment_program"}) {
        auto found = std::find(lines.begin(), lines.end(), std::string(name) + " extension found");
        EXPECT_LT(found, startup) << name;
    }
}

TEST(ViewerE2ETest, ImportedLifeRunShowsAsABlockOfGreenCubes) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    importLife(app);
    app.key("grave");
    Image shot = app.settledScreenshot(TESS_SCREENSHOT_DIR "/viewer_life.png");
    Block block = findCubes(shot);
    // 20 x 20 cubes 16 units ahead: cube centres from x -10 to 9 and y -10 to 9, seen from (0, 1, 1).
    EXPECT_GT(block.count, 40000);
    EXPECT_NEAR(391, block.centreX(), 12);
    EXPECT_NEAR(328, block.centreY(), 12);
    EXPECT_NEAR(block.width(), block.height(), 6);
    EXPECT_NEAR(365, block.width(), 15);

    // The picture for the README: from above and to the right, looking down across the block.
    commandWithConsoleClosed(app, "cam_move 6 5 -2");
    commandWithConsoleClosed(app, "cam_rotate 20 -19 0");
    EXPECT_GT(findCubes(app.settledScreenshot(TESS_SCREENSHOT_DIR "/readme_life.png")).count, 15000);
    EXPECT_TRUE(app.running()) << app.errors();
}

TEST(ViewerE2ETest, CameraFollowsCommandsDragsClicks) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    importLife(app);
    app.key("grave");
    Block start = findCubes(app.settledScreenshot());
    ASSERT_GT(start.count, 40000);

    // Looking along -X the block is off to the right, out of the picture.
    commandWithConsoleClosed(app, "cam_rotate 90 0 0");
    Image turned = app.settledScreenshot(TESS_SCREENSHOT_DIR "/viewer_turned.png");
    EXPECT_EQ(0, turned.count(200, 150, 600, 450, isCube));
    commandWithConsoleClosed(app, "cam_rotate -90 0 0");
    EXPECT_EQ(start.count, findCubes(app.settledScreenshot()).count);

    // Five units forward: 11 instead of 16 units away, the block looks 16/11 as wide.
    commandWithConsoleClosed(app, "cam_move 0 0 5");
    Block nearer = findCubes(app.settledScreenshot(TESS_SCREENSHOT_DIR "/viewer_moved.png"));
    EXPECT_NEAR(16.0 / 11.0, double(nearer.width()) / start.width(), 0.08);

    // A right click moves one more unit forward.
    app.click(700, 500, 3);
    Block clicked = findCubes(app.settledScreenshot());
    EXPECT_NEAR(11.0 / 10.0, double(clicked.width()) / nearer.width(), 0.05);

    // Dragging 20 pixels to the right turns the view 20 degrees right: the block moves left.
    app.drag(400, 300, 420, 300);
    Block dragged = findCubes(app.settledScreenshot(TESS_SCREENSHOT_DIR "/viewer_dragged.png"));
    EXPECT_LT(dragged.centreX(), clicked.centreX() - 60);
    EXPECT_NEAR(clicked.centreY(), dragged.centreY(), 40);
    EXPECT_TRUE(app.running()) << app.errors();
}

TEST(ViewerE2ETest, ConsoleButtonOpensTheConsoleAndMoveForwardMovesTheCamera) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    app.command("vis_new buttons");
    app.command("vis_add_detail_node CUBE 0 1 -4 2");
    ASSERT_TRUE(app.waitForLogLine("Node added successfully to Scene graph"));
    app.key("grave");
    Image closed = app.settledScreenshot();
    Block cube = findCubes(closed);
    ASSERT_GT(cube.count, 5000);

    // "Move Forward" twice: a unit nearer, the front face 3 instead of 4 units away.
    app.click(222, 26);
    app.click(222, 26);
    Block nearer = findCubes(app.settledScreenshot());
    EXPECT_NEAR(4.0 / 3.0, double(nearer.width()) / cube.width(), 0.05);

    app.click(137, 26);
    Image open = app.settledScreenshot(TESS_SCREENSHOT_DIR "/viewer_console_button.png");
    EXPECT_LT(findCubes(open).count, nearer.count / 4);
    EXPECT_TRUE(app.running()) << app.errors();
}

TEST(ViewerE2ETest, ResizedWindowKeepsCubesSquare) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    app.command("vis_new square");
    app.command("vis_add_detail_node CUBE 0 1 -4 2");
    ASSERT_TRUE(app.waitForLogLine("Node added successfully to Scene graph"));
    app.key("grave");
    for (auto [width, height] : {std::pair{1024, 768}, std::pair{1000, 500}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        app.resizeWindow(width, height);
        Image shot = app.settledScreenshot(TESS_SCREENSHOT_DIR "/viewer_" + std::to_string(width) + "x" +
                                           std::to_string(height) + ".png");
        ASSERT_EQ(width, shot.width);
        ASSERT_EQ(height, shot.height);
        Block face = findCubes(shot);
        // The front face, 2 wide and 4 ahead, spans a quarter of the half-height each way.
        EXPECT_NEAR(height / 4.0, face.height(), 4);
        EXPECT_NEAR(face.height(), face.width(), 4);
        EXPECT_NEAR(width / 2.0, face.centreX(), 3);
        EXPECT_NEAR(height / 2.0, face.centreY(), 3);
    }
    EXPECT_TRUE(app.running()) << app.errors();
}

}  // namespace
