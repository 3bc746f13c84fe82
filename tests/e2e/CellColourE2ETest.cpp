// The cells of the real program coloured by their values: stepping the time recolours the picture, vis_fit
// brings the block into view, the model's name stands by it and the legend shows its values.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/e2e/AppSession.h"

namespace {

using Pixel = Image::Pixel;

bool near(Pixel p, int r, int g, int b, int tolerance = 6) {
    return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance && std::abs(p.b - b) <= tolerance;
}
// The cube's own green: a cell without a value.
bool isNoValue(Pixel p) {
    return near(p, 0, 204, 102);
}
// The ends of the ramp: the smallest value of the run (0, a dead cell) and the largest (1, alive).
bool isLowest(Pixel p) {
    return near(p, 0x78, 0x1C, 0x6D);
}
bool isHighest(Pixel p) {
    return near(p, 0xFC, 0xFF, 0xA4);
}
// What the names and the bar's numbers are written in.
bool isText(Pixel p) {
    return near(p, 217, 217, 217, 20);
}

struct Colours {
    int noValue = 0;
    int lowest = 0;
    int highest = 0;
};
// Over the picture without the button strip and the colour bar at the right edge.
Colours colours(const Image& image) {
    Colours c;
    c.noValue = image.count(0, 40, 700, 600, isNoValue);
    c.lowest = image.count(0, 40, 700, 600, isLowest);
    c.highest = image.count(0, 40, 700, 600, isHighest);
    return c;
}

// Types a console line with the console open, then closes it again for the picture.
void commandWithConsoleClosed(AppSession& app, const std::string& line) {
    app.key("grave");
    app.command(line);
    app.key("grave");
}

TEST(CellColourE2ETest, SteppingTheTimeRecoloursTheCellsByValue) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    app.command("vis_new demo");
    app.command("vis_import_logfile " + std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log");
    app.command("vis_fit");
    ASSERT_TRUE(app.waitForLogLine("View fitted to 1 model", 120)) << app.errors();
    app.key("grave");

    // At the start no cell has sent anything: the block is the cube green all over.
    const Image start = app.settledScreenshot(TESS_SCREENSHOT_DIR "/colours_start.png");
    ASSERT_TRUE(start.valid());
    const Colours before = colours(start);
    EXPECT_GT(before.noValue, 40000) << "seen whole and close";
    EXPECT_EQ(0, before.lowest);
    EXPECT_EQ(0, before.highest);
    // Life's legend at the right edge: its two values, 1 above 0, in their colours; the name by the block.
    int highestRow = -1;
    int lowestRow = -1;
    for (int y = 150; y < 450; ++y) {
        highestRow = highestRow < 0 && isHighest(start.at(769, y)) ? y : highestRow;
        lowestRow = lowestRow < 0 && isLowest(start.at(769, y)) ? y : lowestRow;
    }
    EXPECT_GT(highestRow, 0);
    EXPECT_GT(lowestRow, highestRow);
    EXPECT_GT(start.count(0, 40, 740, 600, isText), 20) << "the name above the block";
    EXPECT_GT(start.count(700, 200, 762, 400, isText), 10) << "the numbers beside the bar";

    // The first generation: the live cells have sent 1.
    commandWithConsoleClosed(app, "time_next");
    ASSERT_TRUE(app.waitForLogLine("Current time: 00:00:00:100")) << app.errors();
    const Colours first = colours(app.settledScreenshot(TESS_SCREENSHOT_DIR "/colours_first.png"));
    EXPECT_GT(first.highest, 5000);
    EXPECT_LT(first.noValue, before.noValue - 5000);

    // The last generation: cells that died have sent 0.
    commandWithConsoleClosed(app, "time_goto end");
    ASSERT_TRUE(app.waitForLogLine("Current time: 00:00:00:500")) << app.errors();
    const Colours last = colours(app.settledScreenshot(TESS_SCREENSHOT_DIR "/colours_end.png"));
    EXPECT_GT(last.lowest, 5000);
    EXPECT_GT(last.highest, 2000);
    EXPECT_NE(first.highest, last.highest);

    // Back to the start: green again.
    commandWithConsoleClosed(app, "time_goto start");
    ASSERT_TRUE(app.waitForLogLine("Current time: 00:00:00:000")) << app.errors();
    const Colours again = colours(app.settledScreenshot());
    EXPECT_EQ(before.noValue, again.noValue);
    EXPECT_EQ(0, again.lowest + again.highest);

    // A rule paints the live cells red at the end; hiding the dead ones leaves black where they stood.
    commandWithConsoleClosed(app, "time_goto end");
    commandWithConsoleClosed(app, "vis_color life 1 1 1 0 0");
    commandWithConsoleClosed(app, "vis_color life 0 0 0 0 0 0");
    ASSERT_TRUE(app.waitForLogLine("life rule 2: 0.000000 <= value <= 0.000000 is hidden")) << app.errors();
    const Image ruled = app.settledScreenshot(TESS_SCREENSHOT_DIR "/colours_rules.png");
    EXPECT_EQ(last.highest > 0,
              ruled.count(0, 40, 700, 600, [](Pixel p) { return near(p, 255, 0, 0); }) > 2000);
    EXPECT_EQ(0, colours(ruled).lowest + colours(ruled).highest);
    EXPECT_TRUE(app.running()) << app.errors();
}

}  // namespace
