// Model files and palettes on the command line of the real program: the falling rock of a real log drawn
// as rock among air, a palette colouring the morph filter and its legend, the reports of files that
// cannot be read, and Escape during a long model file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/AppSession.h"
#include "tests/e2e/ProgramRun.h"
#include "tests/support/PngPicture.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kModels = std::string(TESS_SOURCE_DIR) + "/samples/models/";
const std::string kLogs = std::string(TESS_SHARED_DIR) + "/logs/";

bool near(const uint8_t* p, int r, int g, int b, int tolerance = 6) {
    return std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance &&
           std::abs(p[2] - b) <= tolerance;
}

// Pixels of the rectangle [x0, x1) x [y0, y1) (from the top left) that satisfy `match`.
int count(const PngPicture& picture, int x0, int y0, int x1, int y1,
          const std::function<bool(const uint8_t*)>& match) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            n += match(picture.at(x, y)) ? 1 : 0;
        }
    }
    return n;
}

#define REQUIRE_DISPLAY_AND_LOGS()                                        \
    if (!ProgramRun::displayAvailable()) {                                \
        GTEST_SKIP() << "the test command provides no display (DISPLAY)"; \
    }                                                                     \
    if (!std::filesystem::is_directory(kLogs)) {                          \
        GTEST_SKIP() << "no real logs at " << kLogs;                      \
    }

TEST(ModelFileE2ETest, TheFallingRockEndsAsRockAmongAir) {
    REQUIRE_DISPLAY_AND_LOGS();
    const std::string log = kLogs + "falling_mass_3d_8x8x8.log";
    const std::string model = kModels + "falling_mass_3d_8x8x8.ma";
    // Either order gives the same cells (RealModelFilesTest); a model file first names no run
    // (CommandLineImportsTest).
    ProgramRun run({"--snapshot", "rock.png", "--time", "end", log, model});
    ASSERT_EQ(0, run.status()) << run.err();
    EXPECT_EQ("", run.err());
    EXPECT_NE(std::string::npos,
              readFile(run.file("log.txt")).find("Model file " + model + " read: 2 models"));
    const PngPicture a = PngPicture::read(run.file("rock.png"));
    ASSERT_TRUE(a.valid());
    // Air (0, at the ramp's dark end), held by most cells, is hidden inside the block's grey outline box;
    // rock (1) at its pale end; no cube without a value.
    const auto air = [](const uint8_t* p) { return near(p, 0x78, 0x1C, 0x6D); };
    const auto rock = [](const uint8_t* p) { return near(p, 0xFC, 0xFF, 0xA4); };
    const auto noValue = [](const uint8_t* p) { return near(p, 0, 204, 102); };
    const auto box = [](const uint8_t* p) { return near(p, 140, 140, 140, 0); };
    EXPECT_EQ(0, count(a, 0, 40, 700, 600, air));
    EXPECT_GT(count(a, 0, 40, 700, 600, rock), 300);
    EXPECT_EQ(0, count(a, 0, 0, 800, 600, noValue));
    EXPECT_GT(count(a, 0, 40, 700, 600, box), 500);
}

TEST(ModelFileE2ETest, APaletteColoursTheCellsAndTheLegendShowsItsRanges) {
    REQUIRE_DISPLAY_AND_LOGS();
    ProgramRun run({"--snapshot", "morph.png", "--time", "end", "--palette",
                    "opening=" + kModels + "morph_filter_2d_8x8.pal", kLogs + "morph_filter_2d_8x8.log",
                    kModels + "morph_filter_2d_8x8.ma"});
    ASSERT_EQ(0, run.status()) << run.err();
    const PngPicture picture = PngPicture::read(run.file("morph.png"));
    ASSERT_TRUE(picture.valid());
    // At the end the cells hold 0 (background, 40 40 40) and 3 (dilated, 32 160 255); no cell holds 2, yet
    // the legend at the right edge shows its colour among the palette's.
    const auto background = [](const uint8_t* p) { return near(p, 40, 40, 40, 3); };
    const auto dilated = [](const uint8_t* p) { return near(p, 32, 160, 255); };
    const auto eroded = [](const uint8_t* p) { return near(p, 255, 64, 32); };
    EXPECT_GT(count(picture, 0, 40, 700, 600, background), 2000);
    EXPECT_GT(count(picture, 0, 40, 700, 600, dilated), 500);
    EXPECT_EQ(0, count(picture, 0, 40, 700, 600, eroded));
    EXPECT_GT(count(picture, 740, 40, 800, 600, eroded), 50);
    EXPECT_GT(count(picture, 740, 40, 800, 600, dilated), 50);
}

TEST(ModelFileE2ETest, FilesThatCannotBeReadAreReportedAsLogsAre) {
    REQUIRE_DISPLAY_AND_LOGS();
    TempDir dir;
    const std::string bad = dir.write("bad.ma", "[fallrock]\ndim (8,8,8)\ninitialvalue : 0\n");
    const std::string log = kLogs + "falling_mass_3d_8x8x8.log";
    // Lines skipped are reported; the picture is still written.
    ProgramRun skipped({"--snapshot", "rock.png", log, bad});
    EXPECT_EQ(0, skipped.status());
    EXPECT_EQ("tessaron: " + bad + ": Model file " + bad + ", line 2: no ':' between a key and its value\n",
              skipped.err());
    EXPECT_TRUE(skipped.exists("rock.png"));
    // A palette that is not there: no picture. (A missing model file fails as a missing log does: see
    // CommandLineImportsTest and CommandLineE2ETest.)
    ProgramRun palette({"--snapshot", "rock.png", "--palette", dir.file("none.pal"), log});
    EXPECT_EQ(1, palette.status());
    EXPECT_EQ("tessaron: " + dir.file("none.pal") + ": Unable to open palette file for import\n",
              palette.err());
    EXPECT_FALSE(palette.exists("rock.png"));
}

// Escape right after a long model file's command cancels it, as it cancels a log.
TEST(ModelFileE2ETest, EscapeCancelsAModelFileAndNothingOfItIsApplied) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    std::ofstream big(app.workDir() + "/big.ma");  // two million lines: seconds to read in any build
    big << "[plane]\ndim : (4,3)\n[top]\n";
    for (int i = 0; i < 2000000; ++i) {
        big << "link : out@a" << i << " in@b\n";
    }
    big.close();
    app.command("vis_new run");
    app.command("vis_import_model big.ma");
    app.key("Escape");
    ASSERT_TRUE(app.sync(120));

    const std::string text = app.log();
    const size_t cancelled = text.find("Model file big.ma cancelled after ");
    ASSERT_NE(std::string::npos, cancelled) << text;
    EXPECT_NE(std::string::npos, text.find(" lines: nothing of it was applied\n", cancelled));
    EXPECT_EQ(std::string::npos, text.find("Model plane:")) << "nothing of big.ma is applied";
}

}  // namespace
