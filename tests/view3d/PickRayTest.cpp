// The line of sight through a pixel: it must pass through what the camera draws at that pixel.
#include <gtest/gtest.h>

#include <cmath>

#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDPickRay.h"

namespace {

// Where the camera's matrices put a world point in an 800 x 600 view: x from the left, y as the toolkit
// counts (row 1 at the bottom), both as real numbers.
void project(VDCamera& camera, const Vector3& point, double& x, double& y) {
    const double* p = camera.getProjectionMatrix();
    const double* v = camera.getViewMatrix();
    double eye[4];
    for (int r = 0; r < 4; ++r) {
        eye[r] = v[r] * point.x + v[4 + r] * point.y + v[8 + r] * point.z + v[12 + r];
    }
    double clip[4];
    for (int r = 0; r < 4; ++r) {
        clip[r] = p[r] * eye[0] + p[4 + r] * eye[1] + p[8 + r] * eye[2] + p[12 + r] * eye[3];
    }
    x = (clip[0] / clip[3] + 1.0) / 2.0 * 800.0;
    y = (clip[1] / clip[3] + 1.0) / 2.0 * 600.0;
}

double distanceToRay(const VDPickRay& ray, const Vector3& point) {
    const Vector3 offset = point - ray.origin;
    const Vector3 across = offset - ray.direction * offset.dot(ray.direction);
    return across.length();
}

TEST(PickRayTest, TheRayThroughAPixelPassesThroughWhatIsDrawnThere) {
    VDFirstPersonCamera camera;
    camera.setAspectRatio(800.0f / 600.0f);
    camera.setPosition(Vector3(3, 2, 5));
    camera.changeYaw(25);
    camera.changePitch(-15);
    camera.changeRoll(10);
    for (const Vector3& point :
         {Vector3(0, 0, -5), Vector3(4, -1, -2), Vector3(-2, 3, 0), Vector3(6, 2, -9)}) {
        double x = 0.0;
        double y = 0.0;
        project(camera, point, x, y);
        ASSERT_TRUE(x > 0 && x < 800 && y > 0 && y < 600) << x << ", " << y;
        // The pixel whose middle is nearest: x counts from 0, the toolkit's y from 1.
        const int px = static_cast<int>(std::floor(x));
        const int py = static_cast<int>(std::floor(y)) + 1;
        const VDPickRay ray =
            VDPickRay::through(camera.getProjectionMatrix(), camera.getViewMatrix(), px, py, 800, 600);
        // Within the width of a pixel at that distance (about 1/300 of it, with a 90-degree view).
        const double distance = (point - ray.origin).length();
        EXPECT_LT(distanceToRay(ray, point), distance / 300.0) << point.x << " " << point.y << " " << point.z;
        EXPECT_GT((point - ray.origin).dot(ray.direction), 0) << "in front of the eye";
    }
}

}  // namespace
