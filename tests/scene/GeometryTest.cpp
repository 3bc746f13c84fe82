#include <gtest/gtest.h>

#include <array>
#include <string>

#include "scene/BoundingBox.h"
#include "scene/Vector3.h"

namespace {

void expectVector(const Vector3& expected, const Vector3& actual) {
    EXPECT_FLOAT_EQ(expected.x, actual.x);
    EXPECT_FLOAT_EQ(expected.y, actual.y);
    EXPECT_FLOAT_EQ(expected.z, actual.z);
}

TEST(Vector3Test, ArithmeticProductsAndLength) {
    Vector3 a(1, 2, 3);
    Vector3 b(4, -5, 6);
    expectVector(Vector3(5, -3, 9), a + b);
    expectVector(Vector3(-3, 7, -3), a - b);
    expectVector(Vector3(2, 4, 6), a * 2);
    expectVector(Vector3(2, 4, 6), 2 * a);
    expectVector(Vector3(0.5f, 1, 1.5f), a / 2);
    EXPECT_FLOAT_EQ(12, a.dot(b));
    expectVector(Vector3(27, 6, -13), a.cross(b));
    expectVector(Vector3(0, 0, 1), cross(Vector3(1, 0, 0), Vector3(0, 1, 0)));
    EXPECT_FLOAT_EQ(5, Vector3(3, 0, 4).length());
    Vector3 c = a;
    c += b;
    c -= a;
    expectVector(b, c);
    expectVector(Vector3(), Vector3(0, 0, 0));
}

TEST(Vector3Test, NormaliseLeavesVectorsOfLengthUpTo1eMinus5Unchanged) {
    expectVector(Vector3(0.6f, 0, 0.8f), normalise(Vector3(3, 0, 4)));
    Vector3 v(3, 0, 4);
    v.normalise();
    expectVector(Vector3(0.6f, 0, 0.8f), v);

    expectVector(Vector3(0, 0, 0), normalise(Vector3(0, 0, 0)));
    expectVector(Vector3(1e-5f, 0, 0), normalise(Vector3(1e-5f, 0, 0)));
    expectVector(Vector3(0, 3e-6f, 0), normalise(Vector3(0, 3e-6f, 0)));
    // Just above the threshold the direction is usable.
    expectVector(Vector3(0, 0, 1), normalise(Vector3(0, 0, 2e-5f)));
}

TEST(BoundingBoxTest, CentreFormAndMinMaxFormAgree) {
    BoundingBox box(Vector3(0, 0, 0), Vector3(1, 1, 1));
    EXPECT_EQ("{-0.5,-0.5,-0.5} -> {0.5,0.5,0.5}", box.print());

    box.setMinMax(Vector3(0, 0, 0), Vector3(2, 4, 6));
    expectVector(Vector3(1, 2, 3), box.getCentre());
    expectVector(Vector3(2, 4, 6), box.getDimensions());

    box.setCentre(Vector3(10, 0, 0));
    expectVector(Vector3(9, -2, -3), box.getMin());
    expectVector(Vector3(11, 2, 3), box.getMax());

    box.setDimensions(Vector3(4, 4, 4));
    expectVector(Vector3(8, -2, -2), box.getMin());
    expectVector(Vector3(12, 2, 2), box.getMax());

    box.setCentreAndDimensions(Vector3(-1, -1, -1), Vector3(2, 0, 2));
    Vector3 min, max, centre, dimensions;
    box.getMinMax(min, max);
    box.getCentreAndDimensions(centre, dimensions);
    expectVector(Vector3(-2, -1, -2), min);
    expectVector(Vector3(0, -1, 0), max);
    expectVector(Vector3(-1, -1, -1), centre);
    expectVector(Vector3(2, 0, 2), dimensions);
    EXPECT_EQ("{-2.0,-1.0,-2.0} -> {0.0,-1.0,0.0}", box.print());

    // A copy is independent of its original.
    BoundingBox copy(box);
    box.setCentre(Vector3(100, 100, 100));
    expectVector(Vector3(-1, -1, -1), copy.getCentre());
}

TEST(BoundingBoxTest, CornersFollowTheOctantBits) {
    BoundingBox box;
    box.setMinMax(Vector3(-1, -2, -3), Vector3(1, 2, 3));
    expectVector(box.getMin(), box.getCorner(0));
    expectVector(box.getMax(), box.getCorner(7));
    expectVector(Vector3(1, -2, -3), box.getCorner(4));
    expectVector(Vector3(-1, 2, -3), box.getCorner(2));
    expectVector(Vector3(-1, -2, 3), box.getCorner(1));
    expectVector(Vector3(1, 2, -3), box.getCorner(6));
}

TEST(BoundingBoxTest, PrintKeepsEveryDigitOfHugeCoordinates) {
    BoundingBox box;
    box.setMinMax(Vector3(-3e38f, 0, 0), Vector3(3e38f, 0, 0));
    const std::string big = "300000000549775575777803994281145270272.0";
    EXPECT_EQ("{-" + big + ",0.0,0.0} -> {" + big + ",0.0,0.0}", box.print());
}

TEST(BoundingBoxTest, OctantClassificationAgainstACentrePoint) {
    std::array<bool, 8> flags{};
    BoundingBox box;
    // High x, low y, high z: octant 4 + 1.
    box.setMinMax(Vector3(1, -3, 1), Vector3(2, -1, 2));
    EXPECT_EQ(5, findBoxOctant(box, Vector3(0, 0, 0), flags));
    EXPECT_EQ((std::array<bool, 8>{false, false, false, false, false, true, false, false}), flags);

    // Straddling the x plane reaches octants 1 and 5.
    box.setMinMax(Vector3(-1, -3, 1), Vector3(2, -1, 2));
    EXPECT_EQ(-1, findBoxOctant(box, Vector3(0, 0, 0), flags));
    EXPECT_EQ((std::array<bool, 8>{false, true, false, false, false, true, false, false}), flags);

    // Touching a centre plane does not reach across it.
    box.setMinMax(Vector3(-1, 0, 0), Vector3(0, 1, 1));
    EXPECT_EQ(3, findBoxOctant(box, Vector3(0, 0, 0), flags));

    // Flat on a centre plane: reaches neither side, so no octant at all (stale flags are cleared).
    box.setMinMax(Vector3(0, 1, 1), Vector3(0, 2, 2));
    EXPECT_EQ(-1, findBoxOctant(box, Vector3(0, 0, 0), flags));
    EXPECT_EQ((std::array<bool, 8>{}), flags);

    // Around the point: all eight.
    box.setMinMax(Vector3(-1, -1, -1), Vector3(1, 1, 1));
    EXPECT_EQ(-1, findBoxOctant(box, Vector3(0, 0, 0), flags));
    EXPECT_EQ((std::array<bool, 8>{true, true, true, true, true, true, true, true}), flags);
}

}  // namespace
