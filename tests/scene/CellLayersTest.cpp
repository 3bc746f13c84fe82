// The z layers of a block laid out as a grid of maps: how many maps a row holds for a picture's shape, and
// where each map stands.
#include <gtest/gtest.h>

#include <string>

#include "scene/SDCellLayers.h"
#include "scene/SDCellPlacement.h"

namespace {

// Blocks whose rows run down, cell (0, 0, 0) at (10, 5, -3): a map of W rows and H columns is H + 1 units
// from one map's first column to the next one's and W + 1 from one row of maps to the next (one empty
// cell between). The counts below come from comparing, for each count of columns, the unit a picture of
// the aspect gives the grid (grid width c (H + 1) - 1.5, height r (W + 1) - 1.5, cubes of 0.5).
TEST(CellLayersTest, TheGridIsShapedForThePictureAndReadsFromTheTopLeft) {
    struct Case {
        unsigned width, height, length;
        float aspect;
        unsigned columns;
        float lastX, lastY;  // the world place of cell (0, 0) of the last map
    } cases[] = {
        {8, 8, 8, 4.0f / 3.0f, 3, 19.0f, -13.0f},  // 3 x 3 less one: z = 7 in the middle of the last row
        {4, 4, 4, 4.0f / 3.0f, 2, 15.0f, 0.0f},    // 2 x 2
        {8, 8, 2, 4.0f / 3.0f, 2, 19.0f, 5.0f},    // the two side by side
        {8, 8, 8, 3.0f, 4, 37.0f, -4.0f},          // a wide window: 4 and 5 columns tie, the fewer win
        {8, 8, 8, 0.5f, 2, 19.0f, -22.0f},         // a tall one: 4 rows of 2
        {2, 6, 3, 4.0f / 3.0f, 1, 10.0f, -1.0f},   // wide flat maps stack in one column
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "x" +
                     std::to_string(c.length) + " aspect " + std::to_string(c.aspect));
        const SDCellPlacement block =
            SDCellPlacement::rowsDown(Vector3(10, 5, -3), c.width, c.height, c.length);
        const unsigned columns = SDCellLayers::columnsFor(block, c.aspect);
        EXPECT_EQ(c.columns, columns);
        const std::vector<SDCellPlacement> maps = SDCellLayers::split(block, columns);
        ASSERT_EQ(c.length, maps.size());
        ASSERT_EQ(1u, maps.back().getLength());
        // z = 0 stays where the block's first cell is; every map comes to its depth.
        EXPECT_EQ(Vector3(10, 5, -3), maps.front().cellCentre(0, 0, 0));
        const Vector3 last = maps.back().cellCentre(0, 0, 0);
        EXPECT_FLOAT_EQ(c.lastX, last.x);
        EXPECT_FLOAT_EQ(c.lastY, last.y);
        EXPECT_FLOAT_EQ(-3.0f, last.z);
        // Cell (x, y) keeps its place in its map: x rows down, y columns right of the map's first cell.
        const Vector3 corner = maps.back().cellCentre(c.width - 1, c.height - 1, 0);
        EXPECT_FLOAT_EQ(c.lastX + static_cast<float>(c.height - 1), corner.x);
        EXPECT_FLOAT_EQ(c.lastY - static_cast<float>(c.width - 1), corner.y);
    }
}

}  // namespace
