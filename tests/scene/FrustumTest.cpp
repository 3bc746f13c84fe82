#include <gtest/gtest.h>

#include <cmath>

#include "scene/BoundingBox.h"
#include "tests/scene/SceneTestSupport.h"
#include "view3d/Frustum.h"
#include "view3d/Plane.h"

namespace {

BoundingBox box(const Vector3& min, const Vector3& max) {
    BoundingBox b;
    b.setMinMax(min, max);
    return b;
}

Frustum identityFrustum() {
    Frustum frustum;
    Matrix id = identityMatrix();
    frustum.update(id.data(), id.data());
    return frustum;
}

TEST(PlaneTest, ConstructionNormalisesAndDistancesAreSigned) {
    Plane fromPoints(Vector3(0, 0, 2), Vector3(1, 0, 2), Vector3(1, 1, 2));
    EXPECT_EQ(Vector3(0, 0, 1), fromPoints.getNormal());
    EXPECT_FLOAT_EQ(-2, fromPoints.getDistance());
    EXPECT_FLOAT_EQ(3, fromPoints.distance(Vector3(7, -7, 5)));
    EXPECT_FLOAT_EQ(-2, fromPoints.distance(Vector3(0, 0, 0)));

    Plane fromNormal(Vector3(0, 1, 0), Vector3(0, 4, 3));
    EXPECT_FLOAT_EQ(0.8f, fromNormal.getNormal().y);
    EXPECT_FLOAT_EQ(0.6f, fromNormal.getNormal().z);
    EXPECT_FLOAT_EQ(-0.8f, fromNormal.getDistance());

    Plane raw;
    raw.set(0, 0, 4, 8);
    raw.normalise();
    EXPECT_EQ(Vector3(0, 0, 1), raw.getNormal());
    EXPECT_FLOAT_EQ(2, raw.getDistance());
}

TEST(PlaneTest, ClassifiesPointsWithATolerance) {
    Plane plane(Vector3(0, 0, 0), Vector3(1, 0, 0));
    EXPECT_EQ(0, plane.classifyPoint(Vector3(1, 0, 0)));
    EXPECT_EQ(2, plane.classifyPoint(Vector3(-1, 0, 0)));
    EXPECT_EQ(1, plane.classifyPoint(Vector3(0, 5, 5)));
    EXPECT_EQ(1, plane.classifyPoint(Vector3(0.000005f, 0, 0)));
    EXPECT_EQ(1, plane.classifyPoint(Vector3(-0.000005f, 0, 0)));
    EXPECT_EQ(0, plane.classifyPoint(Vector3(0.00002f, 0, 0)));
    EXPECT_EQ(2, plane.classifyPoint(Vector3(-0.00002f, 0, 0)));
}

TEST(PlaneTest, ADegeneratePlaneStaysFiniteInsteadOfTurningIntoNaN) {
    Plane collinear(Vector3(0, 0, 0), Vector3(1, 1, 1), Vector3(2, 2, 2));
    EXPECT_EQ(Vector3(0, 0, 0), collinear.getNormal());
    EXPECT_FALSE(std::isnan(collinear.getDistance()));
    EXPECT_EQ(1, collinear.classifyPoint(Vector3(5, 5, 5)));

    Plane zero;
    zero.set(0, 0, 0, 3);
    zero.normalise();
    EXPECT_FLOAT_EQ(3, zero.getDistance());
    EXPECT_EQ(0, zero.classifyPoint(Vector3(1, 2, 3)));
}

TEST(FrustumTest, IdentityMatricesGiveTheUnitCubeWithInwardNormals) {
    Frustum frustum = identityFrustum();
    EXPECT_EQ(Vector3(1, 0, 0), frustum.getPlane(Frustum::kLeft).getNormal());
    EXPECT_EQ(Vector3(-1, 0, 0), frustum.getPlane(Frustum::kRight).getNormal());
    EXPECT_EQ(Vector3(0, -1, 0), frustum.getPlane(Frustum::kTop).getNormal());
    EXPECT_EQ(Vector3(0, 1, 0), frustum.getPlane(Frustum::kBottom).getNormal());
    EXPECT_EQ(Vector3(0, 0, 1), frustum.getPlane(Frustum::kNear).getNormal());
    EXPECT_EQ(Vector3(0, 0, -1), frustum.getPlane(Frustum::kFar).getNormal());
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(1, frustum.getPlane(i).getDistance()) << i;
    }
    // The corner farthest along each normal.
    EXPECT_EQ(4, frustum.getPlane(Frustum::kLeft).getPositiveVertex());
    EXPECT_EQ(0, frustum.getPlane(Frustum::kRight).getPositiveVertex());
    EXPECT_EQ(0, frustum.getPlane(Frustum::kTop).getPositiveVertex());
    EXPECT_EQ(2, frustum.getPlane(Frustum::kBottom).getPositiveVertex());
    EXPECT_EQ(1, frustum.getPlane(Frustum::kNear).getPositiveVertex());
    EXPECT_EQ(0, frustum.getPlane(Frustum::kFar).getPositiveVertex());

    EXPECT_EQ(0, frustum.classifyBox(box(Vector3(-0.5f, -0.5f, -0.5f), Vector3(0.5f, 0.5f, 0.5f))));
    EXPECT_EQ(1, frustum.classifyBox(box(Vector3(0, 0, 0), Vector3(2, 2, 2))));
    EXPECT_EQ(2, frustum.classifyBox(box(Vector3(3, 3, 3), Vector3(4, 4, 4))));
    // A face on a plane counts as intersecting; so does a face within the tolerance of it.
    EXPECT_EQ(1, frustum.classifyBox(box(Vector3(0, 0, 0), Vector3(1, 1, 1))));
    EXPECT_EQ(1, frustum.classifyBox(box(Vector3(0, 0, 0), Vector3(0.999995f, 0.5f, 0.5f))));
    EXPECT_EQ(0, frustum.classifyBox(box(Vector3(0, 0, 0), Vector3(0.9999f, 0.5f, 0.5f))));
    // Wholly beyond any single plane is outside.
    EXPECT_EQ(2, frustum.classifyBox(box(Vector3(-0.5f, -0.5f, -3), Vector3(0.5f, 0.5f, -2))));
    EXPECT_EQ(2, frustum.classifyBox(box(Vector3(-0.5f, 1.5f, -0.5f), Vector3(0.5f, 2, 0.5f))));
}

TEST(FrustumTest, PositiveVerticesFollowTheNormalsSigns) {
    // Rotating the view 45 degrees about y tilts the side planes: their normals now have x and z parts.
    Frustum frustum;
    Matrix projection = identityMatrix();
    Matrix view = identityMatrix();
    double c = std::sqrt(0.5);
    view[0] = c;
    view[2] = -c;
    view[8] = c;
    view[10] = c;
    frustum.update(projection.data(), view.data());
    for (int i = 0; i < 6; ++i) {
        const Plane& plane = frustum.getPlane(i);
        const Vector3& n = plane.getNormal();
        int expected = (n.x > 0 ? 4 : 0) + (n.y > 0 ? 2 : 0) + (n.z > 0 ? 1 : 0);
        EXPECT_EQ(expected, plane.getPositiveVertex()) << i;
    }
    // Left is (c, 0, c)/|..|: high x and high z.
    EXPECT_EQ(5, frustum.getPlane(Frustum::kLeft).getPositiveVertex());
}

TEST(FrustumTest, PerspectiveCameraSeesInFrontAndNotBehindOrBeyondFar) {
    // 90 degree field of view, aspect 1, near 1, far 100, camera at (0, 0, 10) looking along -z.
    Matrix projection = identityMatrix();
    projection[10] = 101.0 / -99.0;
    projection[11] = -1;
    projection[14] = 200.0 / -99.0;
    projection[15] = 0;
    Matrix view = identityMatrix();
    view[14] = -10;
    Frustum frustum;
    frustum.update(projection.data(), view.data());
    EXPECT_EQ(0, frustum.classifyBox(box(Vector3(-1, -1, -1), Vector3(1, 1, 1))));
    EXPECT_EQ(2, frustum.classifyBox(box(Vector3(-1, -1, 11), Vector3(1, 1, 12))));
    EXPECT_EQ(2, frustum.classifyBox(box(Vector3(-1, -1, -200), Vector3(1, 1, -100))));
    // Beside the view: the half-width equals the distance from the camera (9 .. 11 here).
    EXPECT_EQ(2, frustum.classifyBox(box(Vector3(12, -1, -1), Vector3(13, 1, 1))));
    EXPECT_EQ(1, frustum.classifyBox(box(Vector3(9, -1, -1), Vector3(12, 1, 1))));

    // Updating again with the same matrices changes nothing.
    Frustum again = frustum;
    again.update(projection.data(), view.data());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(frustum.getPlane(i).getNormal(), again.getPlane(i).getNormal());
        EXPECT_EQ(frustum.getPlane(i).getDistance(), again.getPlane(i).getDistance());
        EXPECT_EQ(frustum.getPlane(i).getPositiveVertex(), again.getPlane(i).getPositiveVertex());
    }
}

}  // namespace
