// What the picture shows of the current time: a white frame around each cell a message of that time set
// and around no other, following the cursor; and a run of cells beside plain models fitted to its cells,
// the models' blocks beside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/ProgramRun.h"
#include "tests/support/PngPicture.h"
#include "tests/support/TempDir.h"

namespace {

// A 3 x 3 cell space: two cells send at 1 ms, one at 2 ms, two at 3 ms (one of them again).
const char* const kLog =
    "msg Y / 00:00:00:001 / grid(0,0)(02) / out /      1.00000 to grid(01)\n"
    "msg Y / 00:00:00:001 / grid(2,1)(09) / out /      2.00000 to grid(01)\n"
    "msg Y / 00:00:00:002 / grid(1,1)(06) / out /      3.00000 to grid(01)\n"
    "msg Y / 00:00:00:003 / grid(2,2)(10) / out /      4.00000 to grid(01)\n"
    "msg Y / 00:00:00:003 / grid(0,2)(04) / out /      5.00000 to grid(01)\n"
    "msg Y / 00:00:00:003 / grid(0,2)(04) / out /      6.00000 to grid(01)\n";

// Where `on` has a white pixel that `off` lacks: the frames vis_changes adds.
std::vector<std::pair<int, int>> framePixels(const PngPicture& on, const PngPicture& off) {
    auto white = [](const PngPicture& p, int x, int y) {
        const uint8_t* c = p.at(x, y);
        return c[0] == 255 && c[1] == 255 && c[2] == 255;
    };
    std::vector<std::pair<int, int>> found;
    for (int y = 0; y < on.height; ++y) {
        for (int x = 0; x < on.width; ++x) {
            if (white(on, x, y) && !white(off, x, y)) {
                found.emplace_back(x, y);
            }
        }
    }
    return found;
}

TEST(ChangesE2ETest, FramesStandAroundTheCellsChangedAtTheCurrentTimeOnly) {
    if (!ProgramRun::displayAvailable()) {
        GTEST_SKIP() << "the test command provides no display (DISPLAY)";
    }
    TempDir dir;
    const std::string log = dir.write("grid.log", kLog);
    auto snapshot = [&](const std::string& time, bool framed) {
        std::vector<std::string> arguments = {"--snapshot", "p.png", "--time", time, "--no-log"};
        if (framed) {
            arguments.insert(arguments.end(), {"--command", "vis_changes on"});
        }
        arguments.push_back(log);
        ProgramRun run(arguments);
        EXPECT_EQ(0, run.status()) << run.err();
        return PngPicture::read(run.file("p.png"));
    };
    // The cells each time changes, read from the log, as "row,column"; the start changes none.
    const std::vector<std::pair<std::string, std::set<std::string>>> cases = {
        {"start", {}},
        {"00:00:00:001", {"0,0", "2,1"}},
        {"00:00:00:002", {"1,1"}},
        {"00:00:00:003", {"0,2", "2,2"}},
    };
    // The frames of all times together span the 3 x 3 cells head-on: a third of their extent is a cell.
    std::vector<std::vector<std::pair<int, int>>> frames;
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    for (const auto& [time, cells] : cases) {
        const PngPicture on = snapshot(time, true);
        const PngPicture off = snapshot(time, false);
        ASSERT_TRUE(on.valid() && off.valid()) << time;
        frames.push_back(framePixels(on, off));
        for (const auto& [x, y] : frames.back()) {
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    ASSERT_GT(right - left, 30);
    ASSERT_GT(bottom - top, 30);
    for (size_t i = 0; i < cases.size(); ++i) {
        std::set<std::string> framed;
        for (const auto& [x, y] : frames[i]) {
            framed.insert(std::to_string((y - top) * 3 / (bottom - top + 1)) + "," +
                          std::to_string((x - left) * 3 / (right - left + 1)));
        }
        EXPECT_EQ(cases[i].second, framed) << cases[i].first;
    }
}

// thermal_cube: 64 cells in a cube beside the plain models gencold and genheat under top. Painted pure
// magenta, the cells' extent in the default picture is at least half of its 800 x 600 pixels; beside them,
// right of their middle and wholly in the picture, stand gencold's and genheat's blocks (blue: both wait
// at the end), with the names of the blocks above them in the names' light grey (gencold, genheat,
// surface: 21 letters, some 17 lit pixels each, and a name left out would take 7 of them).
TEST(ChangesE2ETest, ARunOfCellsAndPlainModelsGivesItsCellsHalfOfThePictureAndItsBlocksTheRest) {
    const std::string log = std::string(TESS_SHARED_DIR) + "/logs/thermal_cube_3d_4x4x4.log";
    if (!std::filesystem::exists(log)) {
        GTEST_SKIP() << "no real logs";
    }
    if (!ProgramRun::displayAvailable()) {
        GTEST_SKIP() << "the test command provides no display (DISPLAY)";
    }
    ProgramRun run({"--snapshot", "p.png", "--time", "end", "--no-log", "--command",
                    "vis_color surface -1000 1000 1 0 1", log});
    ASSERT_EQ(0, run.status()) << run.err();
    const PngPicture p = PngPicture::read(run.file("p.png"));
    ASSERT_TRUE(p.valid());
    int left = p.width, right = -1, top = p.height, bottom = -1;
    long painted = 0;
    for (int y = 0; y < p.height; ++y) {
        // Left of the legend's swatches, which show the colour too.
        for (int x = 0; x < p.width - 50; ++x) {
            const uint8_t* c = p.at(x, y);
            // Shaded by face: magenta, some faces darker.
            if (c[0] > 100 && c[1] < 40 && std::abs(c[0] - c[2]) < 8) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                ++painted;
            }
        }
    }
    ASSERT_GT(painted, 0);
    const long extent = static_cast<long>(right - left + 1) * (bottom - top + 1);
    EXPECT_GE(extent * 2, static_cast<long>(p.width) * p.height)
        << (right - left + 1) << " x " << (bottom - top + 1) << ", " << painted << " pixels painted";

    // The waiting blue, shaded by face; the legend's swatch stands at the right edge, above the blocks, and
    // the axes triad's blue z in the bottom left corner.
    int blueLeft = p.width, blueRight = -1, blueTop = p.height, blueBottom = -1;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 100; x < p.width - 50; ++x) {
            const uint8_t* c = p.at(x, y);
            if (c[2] > 150 && c[0] < c[2] / 2 && c[1] > c[0] && c[1] < c[2] * 3 / 5) {
                blueLeft = std::min(blueLeft, x);
                blueRight = std::max(blueRight, x);
                blueTop = std::min(blueTop, y);
                blueBottom = std::max(blueBottom, y);
            }
        }
    }
    ASSERT_GE(blueRight, 0) << "no block in the picture";
    EXPECT_GT(blueLeft, (left + right) / 2);
    EXPECT_TRUE(blueTop > 0 && blueBottom < p.height - 1 && blueRight < p.width - 1);
    long names = 0;
    for (int y = std::max(0, blueTop - 40); y <= blueBottom; ++y) {
        for (int x = std::max(0, blueLeft - 40); x < p.width; ++x) {
            const uint8_t* c = p.at(x, y);
            names += c[0] >= 228 && c[0] <= 231 && c[1] == c[0] && c[2] == c[0] ? 1 : 0;
        }
    }
    EXPECT_GE(names, 300) << "blocks at " << blueLeft << ".." << blueRight << " x " << blueTop << ".."
                          << blueBottom;
}

}  // namespace
