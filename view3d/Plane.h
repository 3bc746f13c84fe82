#pragma once

#include "scene/Vector3.h"

// A plane n·p + d = 0. After normalise the normal has length 1 and distance() is the signed distance;
// the positive side is "in front".
class Plane {
  public:
    Plane() = default;
    // Normal (p2 - p1) x (p3 - p2) through p1.
    Plane(const Vector3& p1, const Vector3& p2, const Vector3& p3);
    // Through `point` with `normal`, normalised.
    Plane(const Vector3& point, const Vector3& normal);
    Plane(const Plane&) = default;
    Plane& operator=(const Plane&) = default;
    virtual ~Plane() = default;

    void set(float nx, float ny, float nz, float d);
    // Divides normal and distance by the normal's length. A zero normal has no direction and is left
    // as it is rather than turned into NaNs.
    void normalise();
    float distance(const Vector3& p) const;
    // 0 in front, 1 on the plane (within kTolerance), 2 behind.
    int classifyPoint(const Vector3& p) const;

    const Vector3& getNormal() const { return m_normal; }
    float getDistance() const { return m_distance; }
    // The box corner (BoundingBox corner numbering) that lies farthest along the normal.
    int getPositiveVertex() const { return m_positiveVertex; }
    void setPositiveVertex(int corner) { m_positiveVertex = corner; }

    static constexpr float kTolerance = 0.00001f;

  private:
    Vector3 m_normal;
    float m_distance = 0.0f;
    int m_positiveVertex = 0;
};
