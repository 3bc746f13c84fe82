#include "view3d/Frustum.h"

#include "scene/BoundingBox.h"

void Frustum::update(const double projection[16], const double view[16]) {
    double m[16];
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += projection[k * 4 + row] * view[column * 4 + k];
            }
            m[column * 4 + row] = sum;
        }
    }
    // Each plane is the fourth row of the clip matrix plus or minus one other row.
    auto plane = [&](int index, int row, double sign) {
        m_planes[static_cast<size_t>(index)].set(
            static_cast<float>(m[3] + sign * m[row]), static_cast<float>(m[7] + sign * m[4 + row]),
            static_cast<float>(m[11] + sign * m[8 + row]), static_cast<float>(m[15] + sign * m[12 + row]));
        m_planes[static_cast<size_t>(index)].normalise();
    };
    plane(kLeft, 0, 1.0);
    plane(kRight, 0, -1.0);
    plane(kTop, 1, -1.0);
    plane(kBottom, 1, 1.0);
    plane(kNear, 2, 1.0);
    plane(kFar, 2, -1.0);

    // The farthest corner along a normal depends only on the signs of its components, so one reference
    // box serves for every box.
    BoundingBox reference;
    reference.setMinMax(Vector3(-1.0f, -1.0f, -1.0f), Vector3(1.0f, 1.0f, 1.0f));
    for (int index : {kLeft, kRight, kTop, kBottom, kNear, kFar}) {
        Plane& p = m_planes[static_cast<size_t>(index)];
        int best = 0;
        float bestDistance = p.distance(reference.getCorner(0));
        for (int corner = 1; corner < 8; ++corner) {
            float d = p.distance(reference.getCorner(corner));
            if (d > bestDistance) {
                best = corner;
                bestDistance = d;
            }
        }
        p.setPositiveVertex(best);
    }
}

int Frustum::classifyPoint(float, float, float) const {
    return 0;
}

int Frustum::classifyBox(const BoundingBox& box) const {
    int result = 0;
    for (int index : {kLeft, kRight, kTop, kBottom, kNear, kFar}) {
        const Plane& plane = m_planes[static_cast<size_t>(index)];
        int corner = plane.getPositiveVertex();
        int p = plane.classifyPoint(box.getCorner(corner));
        int n = plane.classifyPoint(box.getCorner(corner ^ 7));
        if (p != n) {
            result = 1;
        } else if (p == 2) {
            return 2;
        }
    }
    return result;
}

int Frustum::classifyTriangle(const Vector3&, const Vector3&, const Vector3&) const {
    return 0;
}
