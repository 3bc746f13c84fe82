// Values over time, help and pictures in the real program: vis_plot, Shift+click, vis_export with a quoted
// path, help, and the s key's numbered snapshots with the plot in them.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "tests/e2e/AppSession.h"
#include "tests/support/LogSeries.h"
#include "tests/support/PngPicture.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kSample = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";

// The first series' amber in a picture, where the plot opens (the bottom-left corner; y from the top).
int amberInPlot(int height, const std::function<void(int, int, int&, int&, int&)>& at) {
    int count = 0;
    for (int y = height - 268; y < height - 8; ++y) {
        for (int x = 8; x < 468; ++x) {
            int r = 0, g = 0, b = 0;
            at(x, y, r, g, b);
            count += r > 220 && g > 160 && g < 220 && b < 90 ? 1 : 0;
        }
    }
    return count;
}

TEST(PlotE2ETest, PlotExportHelpAndNumberedSnapshots) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    app.command("vis_new plot");
    app.command("vis_import_logfile " + kSample);
    app.command("help vis_export");
    ASSERT_TRUE(app.waitForLogLine(
        "usage: vis_export $model $x [$y [$z]] $file.csv | $model.$port $file.csv | $model $file.csv"))
        << app.log();

    // What the file says life(0,4) sent, read here on its own.
    const LogPoints sent = LogSeries::read(kSample).outputs.at("life 0 4");
    ASSERT_EQ(2u, sent.size());
    app.command("vis_plot life 0 4");
    ASSERT_TRUE(app.waitForLogLine("Plotting life(0,4): 2 values")) << app.log();
    app.command("vis_export life 0 4 \"values of life.csv\"");
    ASSERT_TRUE(app.waitForLogLine("Exported 2 rows to values of life.csv")) << app.log();
    std::string csv = "time,time_ms,value\n";
    for (const LogPoint& point : sent) {
        // The log's decimals without the zeros that say nothing: "1.00000" is written 1.
        std::string value = point.value;
        ASSERT_NE(std::string::npos, value.find('.')) << value;
        value.erase(value.find_last_not_of('0') + 1);
        value.erase(value.find_last_not_of('.') + 1);
        char row[128];
        std::snprintf(row, sizeof row, "%s,%.0f,%s\n", point.time.c_str(), point.milliseconds, value.c_str());
        csv += row;
    }
    EXPECT_EQ(csv, readFile(app.workDir() + "/values of life.csv"));

    // Shift+click on the cell in the middle of the view adds it.
    app.key("grave");
    app.shiftClick(400, 300);
    ASSERT_TRUE(app.waitForLogLine("Plotting life(10,11): 2 values")) << app.log();
    const Image before = app.settledScreenshot(std::string(TESS_SCREENSHOT_DIR) + "/plot_two_cells.png");
    ASSERT_TRUE(before.valid());
    EXPECT_GT(amberInPlot(600,
                          [&](int x, int y, int& r, int& g, int& b) {
                              const Image::Pixel p = before.at(x, y);
                              r = p.r, g = p.g, b = p.b;
                          }),
              100)
        << "the plot is on the screen";

    // s: the view with the plot, as snapshot_001.png, and the strip says so.
    app.key("s");
    ASSERT_TRUE(app.waitForLogLine("Snapshot written: snapshot_001.png (800x600)")) << app.log();
    const PngPicture picture = PngPicture::read(app.workDir() + "/snapshot_001.png");
    ASSERT_EQ(800, picture.width);
    EXPECT_GT(amberInPlot(600,
                          [&](int x, int y, int& r, int& g, int& b) {
                              const uint8_t* p = picture.at(x, y);
                              r = p[0], g = p[1], b = p[2];
                          }),
              100)
        << "the plot is in the picture";
    const Image after = app.settledScreenshot();
    EXPECT_GT(after.differences(before, 280, 15, 800, 36), 50) << "the strip names the file";
    app.key("s");
    ASSERT_TRUE(app.waitForLogLine("Snapshot written: snapshot_002.png (800x600)")) << app.log();
    EXPECT_TRUE(app.running()) << app.errors();
}

}  // namespace
