// What the picture shows of the current time: a white frame around each cell a message of that time set
// and around no other, following the cursor; and a run of cells beside plain models fitted to its cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
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

struct Box {
    int left;
    int top;
    int right;
    int bottom;
    double x() const { return (left + right) / 2.0; }
    double y() const { return (top + bottom) / 2.0; }
};

// Around the pixels white in `on` and not in `off`, one box per frame: the depth test breaks a frame's
// lines into pieces, so pieces that come within a few pixels of each other are one frame.
std::vector<Box> framesAdded(const PngPicture& on, const PngPicture& off) {
    auto added = [&](int x, int y) {
        const uint8_t* a = on.at(x, y);
        const uint8_t* b = off.at(x, y);
        return a[0] == 255 && a[1] == 255 && a[2] == 255 && !(b[0] == 255 && b[1] == 255 && b[2] == 255);
    };
    const int reach = 6;
    std::vector<Box> boxes;
    for (int y = 0; y < on.height; ++y) {
        for (int x = 0; x < on.width; ++x) {
            if (!added(x, y)) {
                continue;
            }
            bool joined = false;
            for (Box& box : boxes) {
                if (x >= box.left - reach && x <= box.right + reach && y <= box.bottom + reach) {
                    box = Box{std::min(box.left, x), box.top, std::max(box.right, x), y};
                    joined = true;
                    break;
                }
            }
            if (!joined) {
                boxes.push_back(Box{x, y, x, y});
            }
        }
    }
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < boxes.size() && !merged; ++i) {
            for (size_t j = i + 1; j < boxes.size() && !merged; ++j) {
                Box& a = boxes[i];
                const Box& b = boxes[j];
                if (b.left <= a.right + reach && a.left <= b.right + reach && b.top <= a.bottom + reach &&
                    a.top <= b.bottom + reach) {
                    a = Box{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                            std::max(a.bottom, b.bottom)};
                    boxes.erase(boxes.begin() + static_cast<long>(j));
                    merged = true;
                }
            }
        }
    }
    return boxes;
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
    // The cells each time changes, read from the log: (row, column), rows running down the picture.
    struct Case {
        std::string time;
        std::vector<std::pair<int, int>> cells;
    };
    const std::vector<Case> cases = {
        {"00:00:00:001", {{0, 0}, {2, 1}}},
        {"00:00:00:002", {{1, 1}}},
        {"00:00:00:003", {{0, 2}, {2, 2}}},
    };
    std::vector<std::vector<Box>> found;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        const PngPicture on = snapshot(c.time, true);
        const PngPicture off = snapshot(c.time, false);
        ASSERT_TRUE(on.valid() && off.valid());
        found.push_back(framesAdded(on, off));
        EXPECT_EQ(c.cells.size(), found.back().size());
    }
    ASSERT_EQ(5u, found[0].size() + found[1].size() + found[2].size());
    // The grid the frames make: (1,1) at 2 ms is the middle; a column or row apart is the same step.
    const Box middle = found[1][0];
    const Box corner = found[0][0];  // (0,0), the first from the top
    const double stepX = middle.x() - corner.x();
    const double stepY = middle.y() - corner.y();
    ASSERT_GT(stepX, 5.0);
    ASSERT_GT(stepY, 5.0);
    for (size_t i = 0; i < cases.size(); ++i) {
        for (const auto& [row, column] : cases[i].cells) {
            const double x = corner.x() + column * stepX;
            const double y = corner.y() + row * stepY;
            bool near = false;
            for (const Box& spot : found[i]) {
                near = near || (std::abs(spot.x() - x) < stepX / 3.0 && std::abs(spot.y() - y) < stepY / 3.0);
            }
            EXPECT_TRUE(near) << cases[i].time << ": no frame around (" << row << "," << column << ")";
        }
    }
}

// thermal_cube: 64 cells in a cube beside the plain models gencold and genheat under top. Painted pure
// magenta, the cells' extent in the default picture is at least half of its 800 x 600 pixels.
TEST(ChangesE2ETest, ARunOfCellsAndPlainModelsGivesItsCellsHalfOfThePicture) {
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
}

}  // namespace
