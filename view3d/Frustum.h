#pragma once

#include <array>

#include "view3d/Plane.h"

class BoundingBox;

// The six planes of the camera's view volume, normals pointing inwards, taken from projection · view.
// Classifies boxes as 0 inside, 1 intersecting, 2 outside.
class Frustum {
  public:
    enum PlaneIndex { kNear = 0, kFar, kLeft, kRight, kTop, kBottom };

    Frustum() = default;
    virtual ~Frustum() = default;
    // Both matrices 4x4, column-major as OpenGL stores them.
    virtual void update(const double projection[16], const double view[16]);
    // Point and triangle tests are not used for culling; they report "inside" so that nothing is lost.
    virtual int classifyPoint(float x, float y, float z) const;
    // Conservative: outside only when one plane has the whole box behind it.
    virtual int classifyBox(const BoundingBox& box) const;
    virtual int classifyTriangle(const Vector3& a, const Vector3& b, const Vector3& c) const;

    const Plane& getPlane(int index) const { return m_planes[static_cast<size_t>(index)]; }

  private:
    std::array<Plane, 6> m_planes;  // near, far, left, right, top, bottom
};
