// The directly computed matrices against what the GL matrix stack builds for the same calls.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "tests/support/GLTestContext.h"
#include "view3d/Matrix4.h"
#include "view3d/VDFirstPersonCamera.h"

namespace {

struct Angles {
    float yaw, pitch, roll;
};
const Angles kAngleSets[] = {{0, 0, 0},     {90, 0, 0},      {0, 90, 0},
                             {30, -20, 10}, {-135, 75, 200}, {725, -95, -33}};

// The GL stack keeps single-precision matrices.
constexpr double kGLPrecision = 2e-6;

class CameraGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        GLTestContext::reset();
    }

    static Matrix4 modelview() {
        Matrix4 m;
        glGetDoublev(GL_MODELVIEW_MATRIX, m.data());
        return m;
    }
    static void expectMatrix(const Matrix4& gl, const double* direct) {
        for (size_t i = 0; i < 16; ++i) {
            EXPECT_NEAR(gl[i], direct[i], kGLPrecision) << "element " << i;
        }
    }
};

TEST_F(CameraGLTest, OrientationMatchesRotationsOnTheStack) {
    for (const Angles& a : kAngleSets) {
        SCOPED_TRACE(testing::Message() << a.yaw << " " << a.pitch << " " << a.roll);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotated(a.yaw, 0, 1, 0);
        glRotated(a.pitch, 1, 0, 0);
        glRotated(a.roll, 0, 0, 1);
        RPYOrientation o;
        o.setYaw(a.yaw);
        o.setPitch(a.pitch);
        o.setRoll(a.roll);
        expectMatrix(modelview(), o.getMatrix().data());
    }
}

TEST_F(CameraGLTest, ViewMatchesRotationsAndTranslationOnTheStack) {
    const Vector3 position(1.5f, -2, 7);
    for (const Angles& a : kAngleSets) {
        SCOPED_TRACE(testing::Message() << a.yaw << " " << a.pitch << " " << a.roll);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotated(-a.roll, 0, 0, 1);
        glRotated(-a.pitch, 1, 0, 0);
        glRotated(-a.yaw, 0, 1, 0);
        glTranslated(-position.x, -position.y, -position.z);
        VDFirstPersonCamera camera;
        camera.setPosition(position);
        camera.changeYaw(a.yaw);
        camera.changePitch(a.pitch);
        camera.changeRoll(a.roll);
        expectMatrix(modelview(), camera.getViewMatrix());
    }
}

TEST_F(CameraGLTest, ProjectionMatchesASymmetricGLFrustum) {
    VDFirstPersonCamera camera;
    camera.setFieldOfView(60);
    camera.setAspectRatio(1.3333333f);
    camera.setNearPlane(0.1f);
    camera.setFarPlane(1000);
    double n = camera.getNearPlane();
    double top = n * std::tan(30.0 * M_PI / 180.0);
    double right = top * static_cast<double>(camera.getAspectRatio());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFrustum(-right, right, -top, top, n, camera.getFarPlane());
    expectMatrix(modelview(), camera.getProjectionMatrix());
}

TEST_F(CameraGLTest, WhatIsAheadOfTheCameraLandsInTheMiddleOfThePicture) {
    VDFirstPersonCamera camera;
    camera.setPosition(Vector3(3, 1, 2));
    camera.changeYaw(90);  // looking along -X
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(camera.getProjectionMatrix());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(camera.getViewMatrix());
    // A small red square facing the camera, 5 units ahead at (-2, 1, 2).
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex3f(-2, 0.9f, 2.1f);
    glVertex3f(-2, 0.9f, 1.9f);
    glVertex3f(-2, 1.1f, 1.9f);
    glVertex3f(-2, 1.1f, 2.1f);
    glEnd();
    // Half-width 0.1 at distance 5 with a 90 degree field: 0.02 of the half-height, about 6 pixels.
    EXPECT_EQ(255, GLTestContext::pixel(400, 300).r);
    EXPECT_EQ(0, GLTestContext::pixel(400, 310).r);
    EXPECT_EQ(0, GLTestContext::pixel(410, 300).r);
    EXPECT_GT(GLTestContext::countNear(380, 280, 40, 40, {255, 0, 0, 255}, 0), 100);
}

}  // namespace
