// Which cube of a cell space a line of sight meets first.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scene/SDCellPicker.h"
#include "scene/SDCellPlacement.h"

namespace {

constexpr float kAnywhere = std::numeric_limits<float>::infinity();
bool all(size_t) {
    return true;
}

// A 3 x 3 x 2 block of cubes of edge 0.5, one unit apart, cell (0, 0, 0) at the origin; the eye looks
// down -Z from z = 10 at cell (1, 2), whose front cube (z = 1) is the nearer.
TEST(CellPickerTest, TheNearestShownCubeOnTheLineWins) {
    const SDCellPlacement block = SDCellPlacement::unitSpaced(Vector3(0, 0, 0), 3, 3, 2);
    const Vector3 eye(1.1f, 2.2f, 10.0f);
    const Vector3 down(0, 0, -1);
    SDCellHit hit = pickCell(block, eye, down, all, kAnywhere);
    ASSERT_TRUE(hit.hit);
    EXPECT_EQ(1u, hit.x);
    EXPECT_EQ(2u, hit.y);
    EXPECT_EQ(1u, hit.z);
    EXPECT_EQ((1u * 3 + 2) * 2 + 1, hit.cell);
    EXPECT_NEAR(8.75, hit.distance, 1e-5);

    // A hidden cube lets the line through to the one behind it; with both hidden it meets nothing.
    const size_t front = hit.cell;
    hit = pickCell(
        block, eye, down, [&](size_t cell) { return cell != front; }, kAnywhere);
    ASSERT_TRUE(hit.hit);
    EXPECT_EQ(front - 1, hit.cell);
    hit = pickCell(
        block, eye, down, [&](size_t cell) { return cell != front && cell != front - 1; }, kAnywhere);
    EXPECT_FALSE(hit.hit);

    // Between the cubes, behind the eye, or farther than asked: nothing.
    EXPECT_FALSE(pickCell(block, Vector3(1.5f, 2.0f, 10.0f), down, all, kAnywhere).hit);
    EXPECT_FALSE(pickCell(block, eye, Vector3(0, 0, 1), all, kAnywhere).hit);
    EXPECT_FALSE(pickCell(block, eye, down, all, 8.0f).hit);
}

TEST(CellPickerTest, ASlantedLineMeetsTheCubeItEntersFirst) {
    // Overlapping cubes, as life's 100 x 100 cells in its 20-unit box: 0.2 apart with edges of 0.5.
    const SDCellPlacement wall = SDCellPlacement::inBox(Vector3(0, 0, -5), Vector3(20, 20, 20), 100, 100, 1);
    const Vector3 eye(0, 1, 1);
    Vector3 towards = Vector3(3.05f, -2.0f, -15.0f) - eye;
    towards.normalise();
    const SDCellHit hit = pickCell(wall, eye, towards, all, kAnywhere);
    ASSERT_TRUE(hit.hit);
    // The wall's front face is at z = -14.75; the line crosses it at about (3.002, -1.953).
    const Vector3 centre = wall.cellCentre(hit.x, hit.y, hit.z);
    EXPECT_LE(std::fabs(centre.x - 3.002f), 0.25f + 1e-3f);
    EXPECT_LE(std::fabs(centre.y + 1.953f), 0.25f + 1e-3f);
    EXPECT_NEAR(-15.75, hit.distance * towards.z, 1e-3);
}

}  // namespace

// A map's cell is a square on its cube's front face (z = 0.25 for the cube at the origin, edge 0.5). The eye
// stands off to the right, at (2, 0, 10), and aims at points of that plane; distances are from the eye to
// the point aimed at, worked out by hand.
TEST(CellPickerTest, AFlatSquareIsHitOverItsWholeFaceAndNowhereElse) {
    const SDCellPlacement cell = SDCellPlacement::unitSpaced(Vector3(0, 0, 0), 1, 1, 1);
    const Vector3 eye(2.0f, 0.0f, 10.0f);
    struct Case {
        float x, y;  // aimed at, on the plane z = 0.25
        bool flat;
        bool hit;
        float distance;
    };
    const Case cases[] = {
        {-0.24f, 0.24f, true, true, 10.00688f},   // the corner away from the eye
        {0.24f, -0.24f, true, true, 9.91048f},    // the corner towards it
        {-0.24f, 0.24f, false, true, 10.00688f},  // the cube's front face is the same square
        // Beside the square, the line goes on into the cube's right side, which a square does not have.
        {0.26f, 0.0f, false, true, -1.0f},
        {0.26f, 0.0f, true, false, 0.0f},
        {0.0f, 0.26f, true, false, 0.0f},
    };
    for (const Case& c : cases) {
        Vector3 towards = Vector3(c.x, c.y, 0.25f) - eye;
        towards.normalise();
        const SDCellHit hit = pickCell(cell, eye, towards, all, kAnywhere, c.flat);
        EXPECT_EQ(c.hit, hit.hit) << c.x << "," << c.y << (c.flat ? " flat" : " cube");
        if (c.hit && c.distance > 0.0f) {
            EXPECT_NEAR(c.distance, hit.distance, 1e-4) << c.x << "," << c.y;
        }
    }
}
