#include "view3d/VDPickRay.h"

VDPickRay VDPickRay::through(const double* projection, const double* view, int x, int y, float width,
                             float height) {
    // The toolkit's y counts pixel rows from 1 at the bottom (the window's height minus GLUT's row), so the
    // middle of the pixel lies half a pixel below it; x counts from 0 on the left.
    const double nx = 2.0 * (x + 0.5) / width - 1.0;
    const double ny = 2.0 * (y - 0.5) / height - 1.0;
    // In the eye's space the perspective maps (ex / -ez * p0, ey / -ez * p5) to the normalised point.
    const double eye[3] = {nx / projection[0], ny / projection[5], -1.0};
    // The view's rotation R takes world to eye; its transpose takes eye directions back. Element (row r,
    // column c) of the view is view[4 * c + r].
    VDPickRay ray;
    double direction[3];
    double origin[3];
    for (int i = 0; i < 3; ++i) {
        direction[i] = 0.0;
        origin[i] = 0.0;
        for (int j = 0; j < 3; ++j) {
            direction[i] += view[4 * i + j] * eye[j];
            origin[i] -= view[4 * i + j] * view[12 + j];
        }
    }
    ray.origin =
        Vector3(static_cast<float>(origin[0]), static_cast<float>(origin[1]), static_cast<float>(origin[2]));
    ray.direction = Vector3(static_cast<float>(direction[0]), static_cast<float>(direction[1]),
                            static_cast<float>(direction[2]));
    ray.direction.normalise();
    return ray;
}
