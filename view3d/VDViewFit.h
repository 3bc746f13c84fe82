#pragma once

#include "scene/BoundingBox.h"
#include "scene/Vector3.h"

// Where a camera that looks in a given direction has to stand so that a box appears wholly inside a part
// of its picture. The part is given in normalised device coordinates (-1 .. 1 across and up), so that room
// can be kept for what is drawn over the picture (the button strip, the legends, the labels).
struct VDViewFit {
    struct Frame {
        float left = -1.0f;
        float right = 1.0f;
        float bottom = -1.0f;
        float top = 1.0f;
    };

    // The camera's axes (unit, at right angles), the tangents of half its view across and up, the part of
    // the picture to fill and the nearest a corner may come to the eye along the view. The eye stands as
    // close as keeps every corner inside the frame, shifted sideways so that the box is centred in it.
    static Vector3 eyeFor(const BoundingBox& box, const Vector3& forward, const Vector3& right,
                          const Vector3& up, float tanHalfWidth, float tanHalfHeight, const Frame& frame,
                          float nearest);
};
