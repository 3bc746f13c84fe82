#include <gtest/gtest.h>

#include <cmath>

#include "scene/BoundingBox.h"
#include "view3d/Matrix4.h"
#include "view3d/Orientation.h"
#include "view3d/VDFirstPersonCamera.h"

namespace {

constexpr float kEps = 1e-6f;

void expectVector(const Vector3& expected, const Vector3& actual, float eps = kEps) {
    EXPECT_NEAR(expected.x, actual.x, eps);
    EXPECT_NEAR(expected.y, actual.y, eps);
    EXPECT_NEAR(expected.z, actual.z, eps);
}

void expectMatrix(const Matrix4& expected, const double* actual, double eps = 1e-9) {
    for (size_t i = 0; i < 16; ++i) {
        EXPECT_NEAR(expected[i], actual[i], eps) << "element " << i;
    }
}

Vector3 transformPoint(const double* m, const Vector3& p) {
    return Vector3(static_cast<float>(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12]),
                   static_cast<float>(m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13]),
                   static_cast<float>(m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]));
}

BoundingBox cubeAt(const Vector3& centre) {
    return BoundingBox(centre, Vector3(1, 1, 1));
}

TEST(Matrix4Test, RotationsAreRightHandedAndProductsApplyRightToLeft) {
    // 90 degrees about +Z takes +X to +Y; about +Y takes +Z to +X; about +X takes +Y to +Z.
    expectVector(Vector3(0, 1, 0), transformPoint(rotationMatrix(90, 0, 0, 1).data(), Vector3(1, 0, 0)));
    expectVector(Vector3(1, 0, 0), transformPoint(rotationMatrix(90, 0, 1, 0).data(), Vector3(0, 0, 1)));
    expectVector(Vector3(0, 0, 1), transformPoint(rotationMatrix(90, 1, 0, 0).data(), Vector3(0, 1, 0)));
    // The axis need not have unit length; a zero axis leaves points alone.
    expectMatrix(rotationMatrix(33, 0, 1, 0), rotationMatrix(33, 0, 7, 0).data());
    expectMatrix(identityMatrix4(), rotationMatrix(45, 0, 0, 0).data());
    // T · R rotates first, then translates.
    Matrix4 m = multiply(translationMatrix(10, 0, 0), rotationMatrix(90, 0, 0, 1));
    expectVector(Vector3(10, 1, 0), transformPoint(m.data(), Vector3(1, 0, 0)));
}

TEST(RPYOrientationTest, AxesFollowYawThenPitchThenRoll) {
    RPYOrientation o;
    EXPECT_FALSE(o.isDirty());
    expectMatrix(identityMatrix4(), o.getMatrix().data());
    expectVector(Vector3(0, 0, -1), o.getForward());

    o.setYaw(90);
    expectVector(Vector3(-1, 0, 0), o.getForward());
    expectVector(Vector3(0, 0, -1), o.getRight());
    expectVector(Vector3(0, 1, 0), o.getUp());

    // Pitch turns about the already yawed right axis: looking along -X and tilted up by 45.
    o.setPitch(45);
    float h = std::sqrt(0.5f);
    expectVector(Vector3(-h, h, 0), o.getForward());
    expectVector(Vector3(0, 0, -1), o.getRight());

    RPYOrientation rolled;
    rolled.setRoll(90);
    expectVector(Vector3(0, 1, 0), rolled.getRight());
    expectVector(Vector3(-1, 0, 0), rolled.getUp());
    expectVector(Vector3(0, 0, -1), rolled.getForward());
}

TEST(RPYOrientationTest, OnlyARealChangeMarksTheMatrixStale) {
    RPYOrientation o;
    o.setYaw(0);
    o.setPitch(0);
    o.setRoll(0);
    EXPECT_FALSE(o.isDirty());
    o.setPitch(90);
    EXPECT_TRUE(o.isDirty());
    expectVector(Vector3(0, 1, 0), o.getForward());
    EXPECT_FALSE(o.isDirty());
    o.setPitch(90);
    EXPECT_FALSE(o.isDirty());
}

TEST(TargetOrientationTest, ColumnsAreRightUpAndBackward) {
    TargetOrientation o;
    EXPECT_FALSE(o.isDirty());
    expectMatrix(identityMatrix4(), o.getMatrix().data());

    o.set(Vector3(5, 2, 3), Vector3(1, 2, 3), Vector3(0, 1, 0));
    EXPECT_TRUE(o.isDirty());
    const Matrix4& m = o.getMatrix();
    EXPECT_FALSE(o.isDirty());
    expectMatrix({0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1}, m.data());
    expectVector(Vector3(1, 0, 0), o.getForward());

    // Giving the same vectors again changes nothing.
    o.set(Vector3(5, 2, 3), Vector3(1, 2, 3), Vector3(0, 1, 0));
    EXPECT_FALSE(o.isDirty());
    o.set(Vector3(5, 2, 3), Vector3(1, 2, 3), Vector3(0, 2, 0));
    EXPECT_TRUE(o.isDirty());
}

TEST(TargetOrientationTest, AgreesWithTheYawPitchOrientationLookingTheSameWay) {
    RPYOrientation rpy;
    rpy.setYaw(30);
    rpy.setPitch(-20);
    Vector3 eye(4, -1, 2);
    TargetOrientation target;
    target.set(eye + rpy.getForward() * 3.0f, eye, Vector3(0, 1, 0));
    const Matrix4& expected = rpy.getMatrix();
    const Matrix4& actual = target.getMatrix();
    for (size_t i : {0, 1, 2, 4, 5, 6, 8, 9, 10}) {
        EXPECT_NEAR(expected[i], actual[i], 1e-6) << "element " << i;
    }
}

TEST(TargetOrientationTest, AnUpHintAlongTheViewGivesZeroAxesRatherThanNaN) {
    TargetOrientation o;
    o.set(Vector3(0, 5, 0), Vector3(0, 0, 0), Vector3(0, 1, 0));
    expectVector(Vector3(0, 0, 0), o.getRight());
    expectVector(Vector3(0, 0, 0), o.getUp());
    expectVector(Vector3(0, 1, 0), o.getForward());
}

TEST(VDCameraTest, ProjectionIsTheStandardPerspective) {
    VDFirstPersonCamera camera;
    camera.setFieldOfView(90);
    camera.setAspectRatio(2.0f);
    camera.setNearPlane(0.1f);
    camera.setFarPlane(1000);
    const double* p = camera.getProjectionMatrix();
    EXPECT_NEAR(0.5, p[0], 1e-12);
    EXPECT_NEAR(1.0, p[5], 1e-12);
    EXPECT_NEAR(-1.0002000, p[10], 1e-7);
    EXPECT_NEAR(-0.2000200, p[14], 1e-7);
    EXPECT_EQ(-1.0, p[11]);
    EXPECT_EQ(0.0, p[15]);
    for (int i : {1, 2, 3, 4, 6, 7, 8, 9, 12, 13}) {
        EXPECT_EQ(0.0, p[i]) << "element " << i;
    }
    // A point on the near plane maps to depth -1, one on the far plane to +1.
    for (float z : {-0.1f, -1000.0f}) {
        double clipZ = p[10] * z + p[14];
        double clipW = -z;
        EXPECT_NEAR(z == -0.1f ? -1.0 : 1.0, clipZ / clipW, 1e-5);
    }
}

TEST(VDCameraTest, UnchangedSettingsKeepTheProjectionClean) {
    VDFirstPersonCamera camera;
    EXPECT_TRUE(camera.isProjectionDirty());
    camera.getProjectionMatrix();
    EXPECT_FALSE(camera.isProjectionDirty());

    camera.setFieldOfView(camera.getFieldOfView());
    camera.setNearPlane(camera.getNearPlane());
    camera.setFarPlane(camera.getFarPlane());
    camera.setAspectRatio(camera.getAspectRatio());
    EXPECT_FALSE(camera.isProjectionDirty());

    camera.setFieldOfView(60);
    EXPECT_TRUE(camera.isProjectionDirty());
    EXPECT_NEAR(1.7320508, camera.getProjectionMatrix()[5], 1e-7);
    EXPECT_FALSE(camera.isProjectionDirty());
    for (auto set : {+[](VDCamera& c) { c.setNearPlane(0.5f); }, +[](VDCamera& c) { c.setFarPlane(50); },
                     +[](VDCamera& c) { c.setAspectRatio(1.0f); }}) {
        set(camera);
        EXPECT_TRUE(camera.isProjectionDirty());
        camera.getProjectionMatrix();
    }
}

TEST(VDFirstPersonCameraTest, AtRestTheViewIsAPureTranslation) {
    VDFirstPersonCamera camera;
    EXPECT_TRUE(camera.setPosition(Vector3(0, 1, 1)));
    EXPECT_FALSE(camera.setPosition(Vector3(0, 1, 1)));
    expectMatrix(translationMatrix(0, -1, -1), camera.getViewMatrix());
}

TEST(VDFirstPersonCameraTest, ViewInvertsThePlacement) {
    VDFirstPersonCamera camera;
    camera.setPosition(Vector3(1, 2, 3));
    camera.changeYaw(30);
    camera.changePitch(-20);
    camera.changeRoll(10);
    Matrix4 placement = multiply(translationMatrix(1, 2, 3), camera.getOrientation().getMatrix());
    Matrix4 view;
    const double* v = camera.getViewMatrix();
    std::copy(v, v + 16, view.begin());
    expectMatrix(identityMatrix4(), multiply(view, placement).data(), 1e-6);

    // A point ahead of the camera lies on the eye's -Z axis.
    Vector3 ahead = camera.getPosition() + camera.getOrientation().getForward() * 4.0f;
    expectVector(Vector3(0, 0, -4), transformPoint(camera.getViewMatrix(), ahead), 1e-5f);
}

TEST(VDFirstPersonCameraTest, MovesAlongItsOwnAxes) {
    VDFirstPersonCamera camera;
    camera.setPosition(Vector3(0, 1, 1));
    camera.changeYaw(90);
    camera.move(1, 0, 0);
    expectVector(Vector3(-1, 1, 1), camera.getPosition());
    camera.move(0, 2, 0);  // right is now -Z
    expectVector(Vector3(-1, 1, -1), camera.getPosition());

    VDFirstPersonCamera pitched;
    pitched.changePitch(90);
    expectVector(Vector3(0, 1, 0), pitched.getOrientation().getForward());
    pitched.move(0, 0, 3);  // up is now +Z
    expectVector(Vector3(0, 0, 3), pitched.getPosition());
    pitched.move(2, 0, 0);
    expectVector(Vector3(0, 2, 3), pitched.getPosition());
}

TEST(VDFirstPersonCameraTest, ZeroChangesLeaveTheViewClean) {
    VDFirstPersonCamera camera;
    camera.getViewMatrix();
    EXPECT_FALSE(camera.isViewDirty());
    camera.move(0, 0, 0);
    camera.changeYaw(0);
    camera.changePitch(0);
    camera.changeRoll(0);
    EXPECT_FALSE(camera.isViewDirty());
    camera.changeRoll(5);
    EXPECT_TRUE(camera.isViewDirty());
}

TEST(VDFirstPersonCameraTest, AnglesAreNeitherClampedNorWrapped) {
    VDFirstPersonCamera camera;
    camera.changePitch(100);
    camera.changePitch(100);
    camera.changeYaw(-400);
    EXPECT_FLOAT_EQ(200, camera.getPitch());
    EXPECT_FLOAT_EQ(-400, camera.getYaw());
    // Pitched up over the top to 200 degrees: looking 20 degrees below the horizon.
    EXPECT_NEAR(std::sin(200.0 * M_PI / 180.0), camera.getOrientation().getForward().y, 1e-6);
}

TEST(VDFirstPersonCameraTest, TheFrustumIsRebuiltOnlyFromFetchedMatrices) {
    VDFirstPersonCamera camera;
    EXPECT_TRUE(camera.isProjectionDirty());
    EXPECT_TRUE(camera.isViewDirty());
    EXPECT_TRUE(camera.isFrustumDirty());
    camera.setPosition(Vector3(0, 1, 1));
    ASSERT_NE(nullptr, camera.getFrustum());
    EXPECT_FALSE(camera.isFrustumDirty());
    camera.getProjectionMatrix();
    EXPECT_TRUE(camera.isFrustumDirty());
    camera.getFrustum();
    camera.getViewMatrix();
    EXPECT_TRUE(camera.isFrustumDirty());
    Frustum* frustum = camera.getFrustum();
    EXPECT_FALSE(camera.isFrustumDirty());
    EXPECT_EQ(0, frustum->classifyBox(cubeAt(Vector3(0, 1, -10))));
    EXPECT_EQ(2, frustum->classifyBox(cubeAt(Vector3(0, 1, 10))));

    // Turning around marks only the view stale; the frustum keeps the old planes until the view is
    // fetched.
    camera.changeYaw(180);
    EXPECT_FALSE(camera.isFrustumDirty());
    EXPECT_EQ(0, camera.getFrustum()->classifyBox(cubeAt(Vector3(0, 1, -10))));
    camera.getViewMatrix();
    EXPECT_TRUE(camera.isFrustumDirty());
    EXPECT_EQ(2, camera.getFrustum()->classifyBox(cubeAt(Vector3(0, 1, -10))));
    EXPECT_EQ(0, camera.getFrustum()->classifyBox(cubeAt(Vector3(0, 1, 10))));

    // A clean fetch leaves the frustum clean.
    camera.getProjectionMatrix();
    camera.getViewMatrix();
    EXPECT_FALSE(camera.isFrustumDirty());
}

}  // namespace
