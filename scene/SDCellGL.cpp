#include "scene/SDCellGL.h"

#include <GL/glx.h>

#include <cmath>

#include "shell/GLEntryPoints.h"

namespace cellgl {

const EntryPoints& entryPoints() {
    static EntryPoints entries;
    static bool fetched = false;
    if (!fetched && glGetString(GL_VERSION) != nullptr) {
        fetched = true;
        const int version = glContextVersion();
        if (version >= 15) {
            fetchGLEntryPoint(entries.genBuffers, "glGenBuffers");
            fetchGLEntryPoint(entries.bindBuffer, "glBindBuffer");
            fetchGLEntryPoint(entries.bufferData, "glBufferData");
            fetchGLEntryPoint(entries.deleteBuffers, "glDeleteBuffers");
            fetchGLEntryPoint(entries.mapBuffer, "glMapBuffer");
            fetchGLEntryPoint(entries.unmapBuffer, "glUnmapBuffer");
            entries.buffers = entries.genBuffers != nullptr && entries.bindBuffer != nullptr &&
                              entries.bufferData != nullptr && entries.deleteBuffers != nullptr &&
                              entries.mapBuffer != nullptr && entries.unmapBuffer != nullptr;
        }
        if (version >= 32 || glContextHasExtension("GL_ARB_draw_elements_base_vertex")) {
            fetchGLEntryPoint(entries.multiDrawBaseVertex, "glMultiDrawElementsBaseVertex");
        }
    }
    return entries;
}

const GLushort kFaces[3][2][6] = {
    {{1, 3, 7, 1, 7, 5}, {0, 4, 6, 0, 6, 2}},
    {{2, 6, 7, 2, 7, 3}, {0, 1, 5, 0, 5, 4}},
    {{4, 5, 7, 4, 7, 6}, {0, 2, 3, 0, 3, 1}},
};

bool currentEye(float eye[3]) {
    GLfloat projection[16];
    GLfloat modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    if (projection[11] != -1.0f || projection[15] != 0.0f || modelview[3] != 0.0f || modelview[7] != 0.0f ||
        modelview[11] != 0.0f || modelview[15] != 1.0f) {
        return false;
    }
    // modelview = [A t; 0 1]: the eye is -A⁻¹ t.
    const double a[3][3] = {{modelview[0], modelview[4], modelview[8]},
                            {modelview[1], modelview[5], modelview[9]},
                            {modelview[2], modelview[6], modelview[10]}};
    const double t[3] = {modelview[12], modelview[13], modelview[14]};
    const double det = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                       a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                       a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    if (!(std::fabs(det) > 1e-12)) {
        return false;
    }
    double inverse[3][3];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
            inverse[r][c] = (a[r1][c1] * a[r2][c2] - a[r1][c2] * a[r2][c1]) / det;
        }
    }
    for (int r = 0; r < 3; ++r) {
        eye[r] = static_cast<float>(-(inverse[r][0] * t[0] + inverse[r][1] * t[1] + inverse[r][2] * t[2]));
    }
    return std::isfinite(eye[0]) && std::isfinite(eye[1]) && std::isfinite(eye[2]);
}

int worldFace(const SDCellPlacement& placement, int localFace) {
    Vector3 normal(0.0f, 0.0f, 0.0f);
    const float sign = localFace % 2 == 0 ? 1.0f : -1.0f;
    switch (localFace / 2) {
        case 0:
            normal.x = sign;
            break;
        case 1:
            normal.y = sign;
            break;
        default:
            normal.z = sign;
            break;
    }
    const Vector3 world = placement.toWorld(normal);
    const float along[3] = {world.x, world.y, world.z};
    for (int axis = 0; axis < 3; ++axis) {
        if (along[axis] > 0.5f) {
            return 2 * axis;
        }
        if (along[axis] < -0.5f) {
            return 2 * axis + 1;
        }
    }
    return localFace;
}

}  // namespace cellgl
