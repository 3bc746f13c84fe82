// The examining camera: fitted views keep every corner of a block inside the part of the picture they are
// given, the wheel closes in on a point without reaching it, and an orbit keeps its centre in place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "view3d/VDCameraControls.h"
#include "view3d/VDCellOverlay.h"
#include "view3d/VDFirstPersonCamera.h"

namespace {

// Where a point appears, in normalised device coordinates (-1 .. 1).
Vector3 ndc(VDFirstPersonCamera& camera, const Vector3& point) {
    const VDCellOverlay projector(camera.getProjectionMatrix(), camera.getViewMatrix(), VDRect(-1, -1, 1, 1));
    float x = 0.0f, y = 0.0f;
    const bool ahead = projector.project(point, x, y);
    return Vector3(x, y, ahead ? 1.0f : -1.0f);
}

TEST(CameraControlsTest, FittedViewsKeepEveryCornerInsideTheFrameAndFillIt) {
    // Blocks as the layout puts the real logs' cell spaces: cubes of 0.5, one unit apart.
    const struct {
        Vector3 size;
        const char* preset;
    } cases[] = {{{7.5f, 7.5f, 7.5f}, "iso"},
                 {{3.5f, 3.5f, 3.5f}, "left"},
                 {{7.5f, 7.5f, 7.5f}, "top"},
                 {{24.5f, 24.5f, 0.5f}, "front"},
                 {{60.0f, 2.5f, 0.5f}, "back"}};
    const VDViewFit::Frame frame{-0.88f, 0.52f, -0.93f, 0.7f};  // room for the strip and the legends
    for (const auto& c : cases) {
        SCOPED_TRACE(c.preset);
        VDFirstPersonCamera camera;
        VDCameraControls controls;
        const BoundingBox box(Vector3(20, -6, -18), c.size);
        EXPECT_EQ(c.preset, controls.fit(camera, box, c.preset, frame, false));
        float left = 9, right = -9, bottom = 9, top = -9;
        for (int corner = 0; corner < 8; ++corner) {
            const Vector3 at = ndc(camera, box.getCorner(corner));
            ASSERT_GT(at.z, 0.0f) << "corner " << corner << " behind the eye";
            left = std::min(left, at.x), right = std::max(right, at.x);
            bottom = std::min(bottom, at.y), top = std::max(top, at.y);
        }
        EXPECT_GE(left, frame.left - 1e-3f);
        EXPECT_LE(right, frame.right + 1e-3f);
        EXPECT_GE(bottom, frame.bottom - 1e-3f);
        EXPECT_LE(top, frame.top + 1e-3f);
        // As close as it goes: the block spans the frame one way or the other.
        EXPECT_TRUE(right - left > (frame.right - frame.left) * 0.99f ||
                    top - bottom > (frame.top - frame.bottom) * 0.99f);
    }
    // Without a side: head-on when flat, else from above, right and in front; a side asked for by name stays
    // until the camera is turned away from it.
    VDFirstPersonCamera camera;
    VDCameraControls controls;
    const BoundingBox rock(Vector3(20, -6, -18.5f), Vector3(7.5f, 7.5f, 7.5f));
    EXPECT_EQ("front", controls.fit(camera, rock, "", frame, true));
    EXPECT_EQ("iso", controls.fit(camera, rock, "", frame, false));
    EXPECT_TRUE(camera.getPosition().x > 24 && camera.getPosition().y > -2 && camera.getPosition().z > -15);
    EXPECT_EQ("left", controls.fit(camera, rock, "left", frame, false));
    EXPECT_EQ("left", controls.fit(camera, rock, "", frame, false));
    camera.changeYaw(5.0f);
    EXPECT_EQ("iso", controls.fit(camera, rock, "", frame, false));
}

TEST(CameraControlsTest, TheWheelClosesInOnThePointByAFixedShareAndNeverReachesIt) {
    // From 10 units away, by hand: 10 * 0.8^(in - out).
    const struct {
        int in, out;
        float distance;
    } cases[] = {{1, 0, 8.0f}, {3, 0, 5.12f}, {2, 2, 10.0f}, {0, 1, 12.5f}, {100, 0, 0.0f}};
    const Vector3 point(3, -2, -7);
    const Vector3 away(0.6f, 0.0f, 0.8f);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.in) + " in, " + std::to_string(c.out) + " out");
        VDFirstPersonCamera camera;
        camera.setPosition(point + away * 10.0f);
        for (int i = 0; i < c.in + c.out; ++i) {
            VDCameraControls::zoom(camera, point, i < c.in);
        }
        const Vector3 offset = camera.getPosition() - point;
        EXPECT_NEAR(c.distance, offset.length(), c.distance * 1e-4f + 1e-5f);
        EXPECT_GT(offset.dot(away), 0.0f) << "never at or past the point";
    }
}

TEST(CameraControlsTest, AnOrbitAroundAPickedCellBringsItToTheMiddleAndOtherwiseKeepsItsPlace) {
    const struct {
        float yaw, pitch;
    } cases[] = {{-90.0f, 0.0f}, {30.0f, 25.0f}, {0.0f, -200.0f}, {360.0f, -10.0f}};
    const Vector3 cell(22, -4, -15);
    for (bool aim : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.yaw) + " " + std::to_string(c.pitch) + (aim ? " aimed" : ""));
            VDFirstPersonCamera camera;
            camera.setPosition(Vector3(15, 3, 5));
            camera.setAngles(20.0f, -10.0f, 0.0f);
            const Vector3 before = ndc(camera, cell);
            const float distance = (camera.getPosition() - cell).length();
            VDCameraControls controls;
            controls.beginOrbit(100, 100, cell, aim);
            // Half a degree a pixel.
            controls.orbitTo(camera, 100 - static_cast<int>(c.yaw * 2), 100 + static_cast<int>(c.pitch * 2));
            const Vector3 after = ndc(camera, cell);
            EXPECT_NEAR(aim ? 0.0f : before.x, after.x, 1e-3f);
            EXPECT_NEAR(aim ? 0.0f : before.y, after.y, 1e-3f);
            EXPECT_NEAR(distance, (camera.getPosition() - cell).length(), 1e-3f * distance);
            EXPECT_LE(std::fabs(camera.getPitch()), VDFirstPersonCamera::kOrbitPitchLimit);
        }
    }
}

// Straight down from the top view (pitch -90, past the orbit's limit of 89) or straight up: an orbit towards
// the horizontal turns the camera, one away from it leaves the pitch alone.
TEST(CameraControlsTest, AnOrbitFromStraightDownOrUpTurnsOnlyTowardsTheHorizontal) {
    const struct {
        float pitch, change, expected;
    } cases[] = {{-90.0f, 10.0f, -80.0f}, {-90.0f, -10.0f, -90.0f}, {90.0f, -30.0f, 60.0f},
                 {90.0f, 5.0f, 90.0f},    {-90.0f, 200.0f, 89.0f},  {-40.0f, -60.0f, -89.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.pitch) + " by " + std::to_string(c.change));
        VDFirstPersonCamera camera;
        camera.setPosition(Vector3(0, 10, 0));
        camera.setAngles(0.0f, c.pitch, 0.0f);
        camera.orbit(Vector3(0, 0, 0), 0.0f, c.change, true);
        EXPECT_NEAR(c.expected, camera.getPitch(), 1e-3f);
    }
}

}  // namespace
