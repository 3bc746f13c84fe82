// The default pictures of the real Cell-DEVS runs read at a glance: the colours spread over the values the
// run holds. (The falling mass's inside is checked by ModelFileE2ETest and CellSliceGLTest.) A cell's pixels
// are told from everything else by drawing the same run a second time with every cell hidden by colour
// rules: what differs is a cell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "tests/e2e/ProgramRun.h"
#include "tests/support/PngPicture.h"

namespace {

const std::string kModels = std::string(TESS_SOURCE_DIR) + "/samples/models/";
const std::string kLogs = std::string(TESS_SHARED_DIR) + "/logs/";

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

#define REQUIRE_DISPLAY_AND_LOGS()                                        \
    if (!ProgramRun::displayAvailable()) {                                \
        GTEST_SKIP() << "the test command provides no display (DISPLAY)"; \
    }                                                                     \
    if (!std::filesystem::is_directory(kLogs)) {                          \
        GTEST_SKIP() << "no real logs at " << kLogs;                      \
    }

TEST(DefaultPicturesE2ETest, TheDefaultRangeSpreadsTheColoursOverWhatTheRunHolds) {
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
    // percentiles); at 3 s its cells hold 21.6 to 25.9, which the whole run's -43 .. 74 draws in one orange.
    // (At its end they hold 24.39 to 24.79: one colour on any range of the whole run.)
    const std::vector<Case> cases = {
        {"water with its model file",
         {kLogs + "water_spread_2d_25x25.log", kModels + "water_spread_2d_25x25.ma"},
         "plane",
         "end",
         3},
        {"thermal cube", {kLogs + "thermal_cube_3d_4x4x4.log"}, "surface", "00:00:03:000", 4},
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
