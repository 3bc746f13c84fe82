// The row and column numbers are those of the cells drawn (a slice's own) and stand outside them; the
// triad's x, y and z are the cells' coordinates while a block of rows is drawn.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "console/VDViewPresets.h"
#include "scene/SDCellPlacement.h"
#include "view3d/VDAxesTriad.h"
#include "view3d/VDCellCoordinates.h"
#include "view3d/VDCellOverlay.h"
#include "view3d/VDFirstPersonCamera.h"

namespace {

TEST(CellAxesTest, TheNumbersAreThoseOfTheCellsDrawnAndStandOutsideThemSeenFromTheFront) {
    // 8 x 8 x 8 cells, cell (x, y, z) at the world point (y, -x, z), seen from in front of its middle.
    const SDCellPlacement placement = SDCellPlacement::rowsDown(Vector3(0, 0, 0), 8, 8, 8);
    VCCellView::DrawnModel model;
    model.placement = &placement;
    VDFirstPersonCamera camera;
    camera.setAspectRatio(800.0f / 600.0f);
    camera.setFieldOfView(40.0f);
    camera.setPosition(Vector3(3.5f, -3.5f, 30.0f));
    const VDCellOverlay view(camera.getProjectionMatrix(), camera.getViewMatrix(), VDRect(0, 0, 800, 600));
    // By hand, the cells drawn: rows x0 .. x1, columns y0 .. y1, layers z0 .. z1 (stored indices), and
    // their numbers, the run's coordinates: of a space whose first cell is (-2,-1,-4), row 0 is -2 and
    // column 0 is -1.
    struct Case {
        int axis;
        unsigned layer;
        float x0, x1, y0, y1, z0, z1;
        std::string rows, columns;
        std::array<int, 3> origin;
    };
    const std::string all = "01234567";
    const std::array<int, 3> zero{};
    const std::array<int, 3> below{-2, -1, -4};
    for (const Case& c :
         {Case{-1, 0, 0, 7, 0, 7, 0, 7, all, all, zero}, Case{2, 3, 0, 7, 0, 7, 3, 3, all, all, zero},
          Case{0, 4, 4, 4, 0, 7, 0, 7, "4", all, zero}, Case{1, 2, 0, 7, 2, 2, 0, 7, all, "2", zero},
          Case{-1, 0, 0, 7, 0, 7, 0, 7, "-2-1012345", "-10123456", below},
          Case{0, 1, 1, 1, 0, 7, 0, 7, "-1", "-10123456", below},
          Case{1, 0, 0, 7, 0, 0, 0, 7, "-2-1012345", "-1", below}}) {
        SCOPED_TRACE(std::to_string(c.axis) + " " + std::to_string(c.layer) + " from " +
                     std::to_string(c.origin[0]));
        model.sliceAxis = c.axis;
        model.sliceLayer = c.layer;
        model.origin = c.origin;
        VCCellView::DrawnModel drawn;  // where the drawn cubes (edge 0.5) appear
        drawn.bounds.setMinMax(Vector3(c.y0 - 0.25f, -c.x1 - 0.25f, c.z0 - 0.25f),
                               Vector3(c.y1 + 0.25f, -c.x0 + 0.25f, c.z1 + 0.25f));
        VDRect cells;
        ASSERT_TRUE(view.blockRectangle(drawn, cells));
        std::string rows, columns;
        for (const VDCellCoordinates::Label& label : VDCellCoordinates::place(view, model, 8.0f, 13.0f)) {
            const float right = label.x + 8.0f * static_cast<float>(label.text.size());
            (label.column ? columns : rows) += label.text;
            EXPECT_TRUE(label.column ? label.y >= cells.getY2() && label.y < cells.getY2() + 13
                                     : right <= cells.getX1() && right > cells.getX1() - 16)
                << label.text << ": just above the top row drawn, or left of the first column";
        }
        EXPECT_EQ(c.rows, rows);
        EXPECT_EQ(c.columns, columns);
    }
}

TEST(CellAxesTest, TheTriadShowsTheCellsCoordinatesWhileBlocksAreDrawnAndTheWorldsOtherwise) {
    // By hand: a cell's x runs down its rows (world -y), y across (+x), z to the front (+z). From the front
    // the screen's right is world +x, up +y; from the right side right is -z; from above up is -z.
    struct Case {
        const char* view;
        bool cells;
        std::vector<std::string> xyz;
    };
    const std::vector<Case> cases = {
        {"front", true, {"down", "right", "towards"}}, {"front", false, {"right", "up", "towards"}},
        {"right", true, {"down", "towards", "left"}},  {"right", false, {"towards", "up", "left"}},
        {"top", true, {"away", "right", "down"}},      {"top", false, {"right", "towards", "down"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.view) + (c.cells ? " cells" : " world"));
        VDFirstPersonCamera camera;
        camera.setAngles(viewpresets::find(c.view)->yaw, viewpresets::find(c.view)->pitch, 0.0f);
        std::vector<std::string> seen(3);
        for (const VDAxesTriad::Arm& arm : VDAxesTriad::arms(camera.getViewMatrix(), c.cells)) {
            const bool flat = std::fabs(arm.dx) < 6 && std::fabs(arm.dy) < 6;
            seen.at(static_cast<size_t>(arm.name.at(0) - 'x')) = flat ? (arm.depth > 0 ? "towards" : "away")
                                                                 : std::fabs(arm.dx) > std::fabs(arm.dy)
                                                                     ? (arm.dx > 0 ? "right" : "left")
                                                                     : (arm.dy > 0 ? "up" : "down");
        }
        EXPECT_EQ(c.xyz, seen);
    }
}

// Text over the picture keeps clear of the numbers: a model's name (a block at x 100 .. 300, y 200 .. 400 of
// an 800 x 600 window, seen head-on) moves past the numbers it would cover, and the triad (the square of 88
// pixels in a corner) leaves the bottom-left corner to row numbers standing there. Rectangles by hand.
TEST(CellAxesTest, NamesAndTheTriadStandClearOfTheNumbers) {
    VDFirstPersonCamera camera;
    camera.setAspectRatio(800.0f / 600.0f);
    camera.setFieldOfView(90.0f);
    camera.setPosition(Vector3(0.0f, 0.0f, 0.0f));
    const VDRect window(0, 0, 800, 600);
    const VDCellOverlay view(camera.getProjectionMatrix(), camera.getViewMatrix(), window);
    // At depth 10 with a 90° view up, a unit is 30 pixels: x -10 .. -3.333 and y -3.333 .. 3.333 make
    // pixels 100 .. 300 and 200 .. 400.
    VCCellView::DrawnModel model;
    model.bounds.setMinMax(Vector3(-10.0f, -10.0f / 3.0f, -10.0f),
                           Vector3(-10.0f / 3.0f, 10.0f / 3.0f, -10.0f));
    struct NameCase {
        std::vector<VDRect> numbers;
        float bottom;  // where the name's text (40 x 13) starts, above or below the block
    };
    const std::vector<NameCase> names = {
        {{}, 403},                                                        // just above the block
        {{VDRect(130, 404, 138, 417)}, 420},                              // past a column number
        {{VDRect(130, 404, 138, 417), VDRect(120, 419, 128, 432)}, 435},  // and one above that
        {{VDRect(150, 404, 158, 417)}, 403},                              // right of the name: no matter
        {{VDRect(130, 404, 138, 417), VDRect(90, 425, 800, 600)}, 184},   // no room above: below the block
        {{VDRect(130, 404, 138, 417), VDRect(90, 425, 800, 600), VDRect(100, 180, 108, 193)}, 164},
    };
    for (const NameCase& c : names) {
        SCOPED_TRACE(c.numbers.size());
        float x = 0.0f;
        float y = 0.0f;
        ASSERT_TRUE(view.nameSpot(model, 40.0f, 13.0f, {}, x, y, c.numbers));
        EXPECT_NEAR(100.0f, x, 0.5f);
        EXPECT_NEAR(c.bottom, y, 0.5f);
    }
    struct TriadCase {
        std::vector<VDRect> taken;
        float x;  // the centre's, 44 from the left or the right side; always 44 up
    };
    const std::vector<TriadCase> triads = {
        {{}, 44},
        {{VDRect(5, 60, 13, 73)}, 756},                           // a row number in the corner
        {{VDRect(90, 60, 98, 73), VDRect(5, 89, 13, 102)}, 44},   // beside it and above it
        {{VDRect(5, 60, 13, 73), VDRect(780, 10, 790, 20)}, 44},  // both corners taken: the usual one
    };
    for (const TriadCase& c : triads) {
        SCOPED_TRACE(c.taken.size());
        float x = 0.0f;
        float y = 0.0f;
        VDAxesTriad::place(window, c.taken, x, y);
        EXPECT_EQ(c.x, x);
        EXPECT_EQ(44.0f, y);
    }
}

}  // namespace
