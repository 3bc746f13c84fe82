#pragma once

#include "scene/Vector3.h"

// The line of sight through one pixel of the 3D view, in world coordinates: what a click points at.
struct VDPickRay {
    Vector3 origin;     // the eye
    Vector3 direction;  // unit length, away from the eye

    // For a camera's perspective projection and view matrix (column-major, as the camera gives them; the
    // view a rotation and a translation), through the middle of the pixel at (x, y) of a view `width` by
    // `height` pixels with the origin at its bottom-left corner, as the toolkit counts.
    static VDPickRay through(const double* projection, const double* view, int x, int y, float width,
                             float height);
};
