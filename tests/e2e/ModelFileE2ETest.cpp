// Model files and palettes on the command line of the real program: the falling rock of a real log drawn
// as rock among air, a palette colouring the morph filter and its legend, the reports of files that
// cannot be read, Escape during a long model file, and the default colour range of the water and the cube.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <tuple>
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

// The default pictures read at a glance: the colours spread over the values the run holds. A cell's pixels
// are told from everything else by drawing the same run a second time with every cell hidden by colour
// rules: what differs is a cell.
// The legends (their longest entries included) stand right of this, the button strip above the top.
constexpr int kRight = 540;
constexpr int kTop = 40;

using Arguments = std::vector<std::string>;

// `--snapshot` of the run at its end, the commands run first; the picture read back.
PngPicture snapshot(const Arguments& files, const Arguments& commands, const std::string& time = "end") {
    Arguments arguments{"--snapshot", "p.png", "--time", time, "--no-log"};
    for (const std::string& command : commands) {
        arguments.push_back("--command");
        arguments.push_back(command);
    }
    arguments.insert(arguments.end(), files.begin(), files.end());
    ProgramRun run(arguments);
    EXPECT_EQ(0, run.status()) << run.err();
    return PngPicture::read(run.file("p.png"));
}

Arguments hideEveryCell(const std::string& model) {
    return {"vis_color " + model + " -1e300 1e300 0 0 0 0", "vis_color " + model + " none 0 0 0 0"};
}

bool differs(const uint8_t* a, const uint8_t* b) {
    return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) > 12;
}

// The pixels of `with` that `without` does not show, left of the legends.
std::vector<const uint8_t*> cellPixels(const PngPicture& with, const PngPicture& without) {
    std::vector<const uint8_t*> pixels;
    if (!with.valid() || !without.valid() || with.width != without.width || with.height != without.height) {
        return pixels;
    }
    for (int y = kTop; y < with.height; ++y) {
        for (int x = 0; x < std::min(kRight, with.width); ++x) {
            if (differs(with.at(x, y), without.at(x, y))) {
                pixels.push_back(with.at(x, y));
            }
        }
    }
    return pixels;
}

// Colours a reader tells apart: by hue and saturation, not brightness (the faces of one cube are one colour
// lit three ways), and not by the small steps between neighbouring values. Each colour is scaled to its
// brightest channel; colours within a quarter of each other, most common first, are one. Greys (edges,
// text) are left out; a colour counts once it covers `least` pixels.
size_t distinctColours(const std::vector<const uint8_t*>& pixels, int least) {
    std::map<std::tuple<int, int, int>, int> counts;
    for (const uint8_t* p : pixels) {
        const int high = std::max({p[0], p[1], p[2]});
        const int low = std::min({p[0], p[1], p[2]});
        if (high < 40 || high - low < 30) {
            continue;
        }
        auto share = [high](int c) { return static_cast<int>(std::lround(20.0 * c / high)); };
        ++counts[{share(p[0]), share(p[1]), share(p[2])}];
    }
    std::vector<std::pair<int, std::tuple<int, int, int>>> byCount;
    for (const auto& [colour, count] : counts) {
        byCount.push_back({count, colour});
    }
    std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    struct Cluster {
        std::tuple<int, int, int> centre;
        int pixels = 0;
    };
    std::vector<Cluster> clusters;
    for (const auto& [count, colour] : byCount) {
        auto near = [&colour = colour](const Cluster& c) {
            const int dr = std::get<0>(c.centre) - std::get<0>(colour);
            const int dg = std::get<1>(c.centre) - std::get<1>(colour);
            const int db = std::get<2>(c.centre) - std::get<2>(colour);
            return dr * dr + dg * dg + db * db <= 25;  // a quarter of 20 steps
        };
        auto found = std::find_if(clusters.begin(), clusters.end(), near);
        if (found == clusters.end()) {
            clusters.push_back({colour, count});
        } else {
            found->pixels += count;
        }
    }
    return static_cast<size_t>(std::count_if(clusters.begin(), clusters.end(),
                                             [least](const Cluster& c) { return c.pixels >= least; }));
}

TEST(ModelFileE2ETest, TheDefaultRangeSpreadsTheColoursOverWhatTheRunHolds) {
    REQUIRE_DISPLAY_AND_LOGS();
    struct Case {
        const char* what;
        Arguments files;
        const char* model;
        const char* time;
        size_t atLeast;  // distinct colours the cells show at least
    };
    // Water: 4 of its 625 cells start at 4, the rest of the run stays below 0.5 (the log's values).
    // Thermal: two early outliers (-43, 74) among values between 18.6 and 28 (the log's 1st and 99th
    // percentiles); at 3 s its cells hold 21.6 to 25.9, which the whole run's -43 .. 74 draws in one orange
    // and 20 .. 28.5 in three colours at least, far enough apart.
    // At its end they hold 24.39 to 24.79, a twentieth of that: one colour on any range of the whole run,
    // so the range follows them.
    const std::vector<Case> cases = {
        {"water with its model file",
         {kLogs + "water_spread_2d_25x25.log", kModels + "water_spread_2d_25x25.ma"},
         "plane",
         "end",
         3},
        {"thermal cube", {kLogs + "thermal_cube_3d_4x4x4.log"}, "surface", "00:00:03:000", 3},
        {"thermal cube settled", {kLogs + "thermal_cube_3d_4x4x4.log"}, "surface", "end", 4},
    };
    for (const Case& c : cases) {
        const PngPicture shown = snapshot(c.files, {}, c.time);
        const PngPicture bare = snapshot(c.files, hideEveryCell(c.model), c.time);
        const std::vector<const uint8_t*> cells = cellPixels(shown, bare);
        EXPECT_GT(cells.size(), 2000u) << c.what;
        EXPECT_GE(distinctColours(cells, 40), c.atLeast) << c.what;
    }
}

}  // namespace
