#include "view3d/Plane.h"

Plane::Plane(const Vector3& p1, const Vector3& p2, const Vector3& p3) : Plane(p1, (p2 - p1).cross(p3 - p2)) {}

Plane::Plane(const Vector3& point, const Vector3& normal) : m_normal(normal), m_distance(-normal.dot(point)) {
    normalise();
}

void Plane::set(float nx, float ny, float nz, float d) {
    m_normal = Vector3(nx, ny, nz);
    m_distance = d;
}

void Plane::normalise() {
    float len = m_normal.length();
    if (!(len > 0.0f)) {
        return;
    }
    m_normal /= len;
    m_distance /= len;
}

float Plane::distance(const Vector3& p) const {
    return m_normal.dot(p) + m_distance;
}

int Plane::classifyPoint(const Vector3& p) const {
    float d = distance(p);
    if (d < -kTolerance) {
        return 2;
    }
    if (d > kTolerance) {
        return 0;
    }
    return 1;
}
