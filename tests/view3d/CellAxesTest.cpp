// The numbers and axes that say where a cell is: the row and column numbers of the cells drawn (a slice's
// own) stand outside them as the picture shows them, and the triad's x, y and z are the cells'
// coordinates while a block whose rows run down is drawn. Without GL.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "console/VDViewPresets.h"
#include "control/VCCellView.h"
#include "scene/SDCellPlacement.h"
#include "view3d/VDAxesTriad.h"
#include "view3d/VDCellCoordinates.h"
#include "view3d/VDCellOverlay.h"
#include "view3d/VDFirstPersonCamera.h"

namespace {

constexpr float kCharWidth = 8.0f;
constexpr float kCharHeight = 13.0f;
const VDRect kWindow(0, 0, 800, 600);

// An 8 x 8 x 8 block as the layout places a 3D space: cell (x, y, z) at the world point (y, -x, z).
class CellAxesTest : public ::testing::Test {
  protected:
    CellAxesTest() : m_placement(SDCellPlacement::rowsDown(Vector3(0, 0, 0), 8, 8, 8)) {
        m_model.name = "fallrock";
        m_model.placement = &m_placement;
        m_model.bounds = m_placement.bounds();
    }
    // Looking along -z from in front of the block's middle, 40 degrees of view as fitted views have.
    VDFirstPersonCamera& frontCamera() {
        m_camera.setAspectRatio(800.0f / 600.0f);
        m_camera.setFieldOfView(40.0f);
        m_camera.setNearPlane(0.1f);
        m_camera.setFarPlane(1000.0f);
        m_camera.setPosition(Vector3(3.5f, -3.5f, 30.0f));
        return m_camera;
    }
    VDCellOverlay overlay(VDFirstPersonCamera& camera) const {
        return VDCellOverlay(camera.getProjectionMatrix(), camera.getViewMatrix(), kWindow);
    }

    SDCellPlacement m_placement;
    VCCellView::DrawnModel m_model;
    VDFirstPersonCamera m_camera;
};

std::vector<std::string> texts(const std::vector<VDCellCoordinates::Label>& labels, bool columns) {
    std::vector<std::string> found;
    for (const VDCellCoordinates::Label& label : labels) {
        if (label.column == columns) {
            found.push_back(label.text);
        }
    }
    return found;
}

TEST_F(CellAxesTest, TheNumbersAreThoseOfTheCellsDrawnAndStandOutsideThemSeenFromTheFront) {
    const std::vector<std::string> all = {"0", "1", "2", "3", "4", "5", "6", "7"};
    // The cells drawn, by hand: rows x0 .. x1, columns y0 .. y1, layers z0 .. z1.
    struct Case {
        const char* what;
        int axis;
        unsigned layer;
        unsigned x0, x1, y0, y1, z0, z1;
        std::vector<std::string> rows;
        std::vector<std::string> columns;
    };
    const std::vector<Case> cases = {
        {"whole", -1, 0, 0, 7, 0, 7, 0, 7, all, all},           {"z = 3", 2, 3, 0, 7, 0, 7, 3, 3, all, all},
        {"z = 7, the front", 2, 7, 0, 7, 0, 7, 7, 7, all, all}, {"x = 4", 0, 4, 4, 4, 0, 7, 0, 7, {"4"}, all},
        {"y = 2", 1, 2, 0, 7, 2, 2, 0, 7, all, {"2"}},
    };
    const VDCellOverlay view = overlay(frontCamera());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_model.sliceAxis = c.axis;
        m_model.sliceLayer = c.layer;
        const std::vector<VDCellCoordinates::Label> labels =
            VDCellCoordinates::place(view, m_model, kCharWidth, kCharHeight);
        EXPECT_EQ(c.rows, texts(labels, false));
        EXPECT_EQ(c.columns, texts(labels, true));
        // Where the cells drawn appear: world x from the first column's left to the last's right, world
        // y from the last row's bottom to the first's top, cubes of edge 0.5.
        VCCellView::DrawnModel drawn;
        drawn.bounds.setMinMax(Vector3(c.y0 - 0.25f, -(c.x1 + 0.25f), c.z0 - 0.25f),
                               Vector3(c.y1 + 0.25f, -(c.x0 - 0.25f), c.z1 + 0.25f));
        VDRect cells;
        ASSERT_TRUE(view.blockRectangle(drawn, cells));
        for (const VDCellCoordinates::Label& label : labels) {
            SCOPED_TRACE(label.text);
            if (label.column) {
                EXPECT_GE(label.y, cells.getY2()) << "above the top row drawn, not inside it";
                EXPECT_LT(label.y, cells.getY2() + 2 * kCharHeight) << "and close to it";
                const float x = label.x + kCharWidth / 2.0f;
                EXPECT_GT(x, cells.getX1());
                EXPECT_LT(x, cells.getX2());
            } else {
                const float right = label.x + kCharWidth * static_cast<float>(label.text.size());
                EXPECT_LE(right, cells.getX1()) << "left of the first column drawn";
                EXPECT_GT(right, cells.getX1() - 2 * kCharWidth) << "and close to it";
                EXPECT_GT(label.y + kCharHeight / 2.0f, cells.getY1());
                EXPECT_LT(label.y, cells.getY2());
            }
        }
    }
}

// Which way an arm of the triad points on the screen: "right", "left", "up", "down", or, when it points
// mostly along the view, "towards" or "away".
std::string direction(const VDAxesTriad::Arm& arm) {
    if (std::fabs(arm.dx) < VDAxesTriad::kArm / 4 && std::fabs(arm.dy) < VDAxesTriad::kArm / 4) {
        return arm.depth > 0 ? "towards" : "away";
    }
    if (std::fabs(arm.dx) > std::fabs(arm.dy)) {
        return arm.dx > 0 ? "right" : "left";
    }
    return arm.dy > 0 ? "up" : "down";
}

TEST_F(CellAxesTest, TheTriadShowsTheCellsCoordinatesWhileBlocksAreDrawnAndTheWorldsOtherwise) {
    // By hand: the cells' x runs down their rows (world -y), y across (world +x), z towards the front
    // (world +z). From the front the screen's right is world +x and up +y; from the right side (looking
    // along -x) right is world -z; from above, right is +x and up is -z (the front at the bottom).
    struct Case {
        const char* view;
        bool cells;
        const char* x;
        const char* y;
        const char* z;
    };
    const std::vector<Case> cases = {
        {"front", true, "down", "right", "towards"}, {"front", false, "right", "up", "towards"},
        {"right", true, "down", "towards", "left"},  {"right", false, "towards", "up", "left"},
        {"top", true, "away", "right", "down"},      {"top", false, "right", "towards", "down"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.view) + (c.cells ? " cells" : " world"));
        const VDViewPreset* preset = viewpresets::find(c.view);
        ASSERT_NE(nullptr, preset);
        VDFirstPersonCamera camera;
        camera.setAngles(preset->yaw, preset->pitch, 0.0f);
        std::vector<std::string> seen(3);
        for (const VDAxesTriad::Arm& arm : VDAxesTriad::arms(camera.getViewMatrix(), c.cells)) {
            ASSERT_EQ(1u, arm.name.size());
            seen[static_cast<size_t>(arm.name[0] - 'x')] = direction(arm);
        }
        EXPECT_EQ(c.x, seen[0]);
        EXPECT_EQ(c.y, seen[1]);
        EXPECT_EQ(c.z, seen[2]);
    }
}

}  // namespace
