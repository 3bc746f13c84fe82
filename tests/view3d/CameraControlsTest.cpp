// The examining camera: fitted views keep every corner of a block inside the part of the picture they
// are given, the wheel closes in on a point without reaching it, and an orbit keeps its centre in place.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "console/VDViewPresets.h"
#include "scene/BoundingBox.h"
#include "view3d/VDCameraControls.h"
#include "view3d/VDCellOverlay.h"
#include "view3d/VDFirstPersonCamera.h"

namespace {

// Where a point appears, in normalised device coordinates (-1 .. 1).
bool ndc(VDFirstPersonCamera& camera, const Vector3& point, float& x, float& y) {
    const VDCellOverlay projector(camera.getProjectionMatrix(), camera.getViewMatrix(), VDRect(-1, -1, 1, 1));
    return projector.project(point, x, y);
}

void prepare(VDFirstPersonCamera& camera) {
    camera.setAspectRatio(800.0f / 600.0f);
    camera.setFieldOfView(90.0f);
    camera.setPosition(Vector3(0, 1, 1));
}

// Blocks as the layout puts the real logs' cell spaces (cubes of 0.5 one unit apart).
struct FitCase {
    const char* what;
    Vector3 size;
    const char* preset;
};

TEST(CameraControlsTest, FittedViewsKeepEveryCornerInsideTheFrameAndFillIt) {
    const FitCase cases[] = {
        {"falling_mass 8x8x8, iso", Vector3(7.5f, 7.5f, 7.5f), "iso"},
        {"thermal_cube 4x4x4, iso", Vector3(3.5f, 3.5f, 3.5f), "iso"},
        {"thermal_cube 4x4x4, from the left", Vector3(3.5f, 3.5f, 3.5f), "left"},
        {"falling_mass 8x8x8, from above", Vector3(7.5f, 7.5f, 7.5f), "top"},
        {"water 25x25, front", Vector3(24.5f, 24.5f, 0.5f), "front"},
        {"a wide strip, from behind", Vector3(60.0f, 2.5f, 0.5f), "back"},
    };
    // Room for the strip above, the legends on the right.
    VDViewFit::Frame frame;
    frame.left = -0.88f;
    frame.right = 0.52f;
    frame.bottom = -0.93f;
    frame.top = 0.7f;
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.what);
        VDFirstPersonCamera camera;
        prepare(camera);
        VDCameraControls controls;
        const BoundingBox box(Vector3(20, -6, -18), c.size);
        EXPECT_EQ(c.preset, controls.fit(camera, box, c.preset, frame, false));
        EXPECT_EQ(VDFirstPersonCamera::kFitFieldOfView, camera.getFieldOfView());
        float left = 1e9f, right = -1e9f, bottom = 1e9f, top = -1e9f;
        for (int corner = 0; corner < 8; ++corner) {
            float x = 0.0f, y = 0.0f;
            ASSERT_TRUE(ndc(camera, box.getCorner(corner), x, y)) << "corner " << corner << " behind the eye";
            left = std::min(left, x);
            right = std::max(right, x);
            bottom = std::min(bottom, y);
            top = std::max(top, y);
        }
        const float slack = 1e-3f;
        EXPECT_GE(left, frame.left - slack);
        EXPECT_LE(right, frame.right + slack);
        EXPECT_GE(bottom, frame.bottom - slack);
        EXPECT_LE(top, frame.top + slack);
        // As close as it goes: the block reaches the frame on one pair of sides, centred between them.
        const bool fillsAcross = right - left > (frame.right - frame.left) * 0.99f;
        const bool fillsUp = top - bottom > (frame.top - frame.bottom) * 0.99f;
        EXPECT_TRUE(fillsAcross || fillsUp) << left << " " << right << " " << bottom << " " << top;
    }
}

TEST(CameraControlsTest, AFlatSpaceIsSeenHeadOnAndABlockFromAboveAndToOneSide) {
    VDFirstPersonCamera camera;
    prepare(camera);
    VDCameraControls controls;
    const BoundingBox water(Vector3(27, -2, -15), Vector3(24.5f, 24.5f, 0.5f));
    EXPECT_EQ("front", controls.fit(camera, water, "", VDViewFit::Frame{}, true));
    // No keystone: the top and bottom edges of the front face appear equally wide.
    const Vector3& low = water.getMin();
    const Vector3& high = water.getMax();
    float x[4], y[4];
    ASSERT_TRUE(ndc(camera, Vector3(low.x, high.y, high.z), x[0], y[0]));
    ASSERT_TRUE(ndc(camera, Vector3(high.x, high.y, high.z), x[1], y[1]));
    ASSERT_TRUE(ndc(camera, Vector3(low.x, low.y, high.z), x[2], y[2]));
    ASSERT_TRUE(ndc(camera, Vector3(high.x, low.y, high.z), x[3], y[3]));
    EXPECT_NEAR(x[1] - x[0], x[3] - x[2], 1e-4f);

    const BoundingBox rock(Vector3(20, -6, -18.5f), Vector3(7.5f, 7.5f, 7.5f));
    EXPECT_EQ("iso", controls.fit(camera, rock, "", VDViewFit::Frame{}, false));
    // The eye is above, right of and in front of the block: its top, right and front faces show.
    const Vector3 eye = camera.getPosition();
    EXPECT_GT(eye.x, rock.getMax().x);
    EXPECT_GT(eye.y, rock.getMax().y);
    EXPECT_GT(eye.z, rock.getMax().z);

    // A preset chosen by name is kept by the next plain fit, until the camera is turned away from it.
    EXPECT_EQ("left", controls.fit(camera, rock, "left", VDViewFit::Frame{}, false));
    EXPECT_EQ("left", controls.fit(camera, rock, "", VDViewFit::Frame{}, false));
    camera.changeYaw(5.0f);
    EXPECT_EQ("iso", controls.fit(camera, rock, "", VDViewFit::Frame{}, false));
}

TEST(CameraControlsTest, TheWheelClosesInOnThePointByAFixedShareAndNeverReachesIt) {
    struct Case {
        const char* what;
        int in;          // notches towards the point
        int out;         // then away from it
        float distance;  // from 10 units away, worked out by hand: 10 * 0.8^(in - out)
    };
    const Case cases[] = {
        {"one notch in", 1, 0, 8.0f},
        {"three notches in", 3, 0, 5.12f},
        {"in and out again", 2, 2, 10.0f},
        {"out from the start", 0, 1, 12.5f},
        {"a hundred notches in", 100, 0, 10.0f * std::pow(0.8f, 100.0f)},
    };
    const Vector3 point(3, -2, -7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VDFirstPersonCamera camera;
        prepare(camera);
        const Vector3 start = point + Vector3(0.6f, 0.0f, 0.8f) * 10.0f;
        camera.setPosition(start);
        for (int i = 0; i < c.in; ++i) {
            VDCameraControls::zoom(camera, point, true);
        }
        for (int i = 0; i < c.out; ++i) {
            VDCameraControls::zoom(camera, point, false);
        }
        const Vector3 offset = camera.getPosition() - point;
        // Within float rounding of coordinates near 10.
        EXPECT_NEAR(c.distance, offset.length(), c.distance * 1e-4f + 1e-5f);
        // Still on the same side of the point, on the same line.
        EXPECT_GT(offset.dot(Vector3(0.6f, 0.0f, 0.8f)), 0.0f);
        EXPECT_NEAR(offset.length(), offset.dot(Vector3(0.6f, 0.0f, 0.8f)), 1e-3f * c.distance + 1e-6f);
    }
}

TEST(CameraControlsTest, AnOrbitAroundAPickedCellKeepsItInTheMiddleAndOtherwiseWhereItWas) {
    struct Case {
        const char* what;
        float yaw;
        float pitch;
    };
    const Case cases[] = {
        {"a quarter turn right", -90.0f, 0.0f},
        {"up and left", 30.0f, 25.0f},
        {"past straight down", 0.0f, -200.0f},
        {"round and back", 360.0f, -10.0f},
    };
    const Vector3 cell(22, -4, -15);
    for (bool aim : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (aim ? ", picked cell" : ", fitted centre"));
            VDFirstPersonCamera camera;
            prepare(camera);
            camera.setPosition(Vector3(15, 3, 5));
            camera.setAngles(20.0f, -10.0f, 0.0f);
            float x0 = 0.0f, y0 = 0.0f;
            ASSERT_TRUE(ndc(camera, cell, x0, y0));
            const float distance = (camera.getPosition() - cell).length();
            VDCameraControls controls;
            controls.beginOrbit(100, 100, cell, aim);
            // Drags of whole pixels, half a degree each.
            controls.orbitTo(camera, 100 - static_cast<int>(c.yaw * 2.0f),
                             100 + static_cast<int>(c.pitch * 2.0f));
            float x = 0.0f, y = 0.0f;
            ASSERT_TRUE(ndc(camera, cell, x, y));
            EXPECT_NEAR(aim ? 0.0f : x0, x, 1e-3f);
            EXPECT_NEAR(aim ? 0.0f : y0, y, 1e-3f);
            EXPECT_NEAR(distance, (camera.getPosition() - cell).length(), 1e-3f * distance);
            EXPECT_LE(std::fabs(camera.getPitch()), VDFirstPersonCamera::kOrbitPitchLimit);
            EXPECT_NEAR(20.0f + c.yaw, camera.getYaw(), 1e-4f);
        }
    }
}

}  // namespace
