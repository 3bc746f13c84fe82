// The row and column numbers are those of the cells drawn (a slice's own) and stand outside them; the
// triad's x, y and z are the cells' coordinates while a block of rows is drawn.
#include <gtest/gtest.h>

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
    // By hand, the cells drawn: rows x0 .. x1, columns y0 .. y1, layers z0 .. z1.
    struct Case {
        int axis;
        unsigned layer;
        float x0, x1, y0, y1, z0, z1;
        std::string rows, columns;
    };
    const std::string all = "01234567";
    for (const Case& c : {Case{-1, 0, 0, 7, 0, 7, 0, 7, all, all}, Case{2, 3, 0, 7, 0, 7, 3, 3, all, all},
                          Case{0, 4, 4, 4, 0, 7, 0, 7, "4", all}, Case{1, 2, 0, 7, 2, 2, 0, 7, all, "2"}}) {
        SCOPED_TRACE(std::to_string(c.axis) + " " + std::to_string(c.layer));
        model.sliceAxis = c.axis;
        model.sliceLayer = c.layer;
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

}  // namespace
