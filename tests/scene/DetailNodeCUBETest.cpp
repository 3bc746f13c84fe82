#include <gtest/gtest.h>

#include <array>

#include "scene/SDDetailNodeCUBE.h"

namespace {

TEST(SDDetailNodeCUBETest, ANewCubeIsAGreenUnitCubeAtTheOrigin) {
    SDDetailNodeCUBE cube;
    EXPECT_EQ("m_color ={0.0,0.8,0.4,1.0}; m_position ={-0.5,-0.5,-0.5} -> {0.5,0.5,0.5}; m_show = true",
              cube.print());
    EXPECT_EQ((std::array<float, 4>{0.0f, 0.8f, 0.4f, 1.0f}), cube.getColor());
    EXPECT_EQ(0, cube.getNodeType());
    EXPECT_TRUE(cube.m_show);
}

TEST(SDDetailNodeCUBETest, PositionSizeAndColourShowInTheBoxAndThePrint) {
    SDDetailNodeCUBE cube;
    cube.setPosition(Vector3(1, 2, 3));
    cube.setSize(2.5f);
    const BoundingBox& box = cube.getBoundingBox();
    EXPECT_EQ(Vector3(2.5f, 2.5f, 2.5f), box.getDimensions());
    EXPECT_EQ(Vector3(1 - 1.25f, 2 - 1.25f, 3 - 1.25f), box.getMin());
    EXPECT_EQ(Vector3(1 + 1.25f, 2 + 1.25f, 3 + 1.25f), box.getMax());
    // Moving keeps the size.
    cube.setPosition(Vector3(0, 0, 0));
    EXPECT_EQ(Vector3(1.25f, 1.25f, 1.25f), box.getMax());

    cube.setColor(1, 0.25f, 0, 0.5f);
    cube.m_show = false;
    EXPECT_EQ((std::array<float, 4>{1, 0.25f, 0, 0.5f}), cube.getColor());
    EXPECT_EQ("m_color ={1.0,0.2,0.0,0.5}; m_position ={-1.2,-1.2,-1.2} -> {1.2,1.2,1.2}; m_show = false",
              cube.print());
}

TEST(SDDetailNodeCUBETest, ClassifiesAgainstOtherBoxes) {
    SDDetailNodeCUBE cube;
    BoundingBox other;
    other.setMinMax(Vector3(-1, -1, -1), Vector3(1, 1, 1));
    EXPECT_EQ(2, cube.classifyAgainstBox(other));
    other.setMinMax(Vector3(-0.5f, -0.5f, -0.5f), Vector3(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(2, cube.classifyAgainstBox(other));
    other.setMinMax(Vector3(0, 0, 0), Vector3(2, 2, 2));
    EXPECT_EQ(1, cube.classifyAgainstBox(other));
    other.setMinMax(Vector3(3, 3, 3), Vector3(4, 4, 4));
    EXPECT_EQ(0, cube.classifyAgainstBox(other));
    // Disjoint on one axis is enough; touching faces still overlap.
    other.setMinMax(Vector3(-5, -5, 0.6f), Vector3(5, 5, 6));
    EXPECT_EQ(0, cube.classifyAgainstBox(other));
    other.setMinMax(Vector3(-5, -5, -6), Vector3(5, 5, -0.6f));
    EXPECT_EQ(0, cube.classifyAgainstBox(other));
    other.setMinMax(Vector3(0.5f, -5, -5), Vector3(6, 5, 5));
    EXPECT_EQ(1, cube.classifyAgainstBox(other));
    // Larger than the other box: overlapping, not inside.
    other.setMinMax(Vector3(-0.1f, -0.1f, -0.1f), Vector3(0.1f, 0.1f, 0.1f));
    EXPECT_EQ(1, cube.classifyAgainstBox(other));
}

TEST(SDDetailNodeCUBETest, FindsTheOctantOfItsBox) {
    SDDetailNodeCUBE cube;
    std::array<bool, 8> flags{};
    EXPECT_EQ(-1, cube.findOctant(Vector3(0, 0, 0), flags));
    EXPECT_EQ((std::array<bool, 8>{true, true, true, true, true, true, true, true}), flags);
    // Below the point in x and z, above it in y: octant 2.
    EXPECT_EQ(2, cube.findOctant(Vector3(10, -10, 10), flags));
    EXPECT_EQ((std::array<bool, 8>{false, false, true, false, false, false, false, false}), flags);
}

// A Cell-DEVS model keeps one cube per cell; a million cells must stay well within memory.
TEST(SDDetailNodeCUBETest, StaysSmallWithoutAHeapBlockOfItsOwn) {
    EXPECT_LE(sizeof(SDDetailNodeCUBE), 96u);
}

}  // namespace
