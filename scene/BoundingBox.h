#pragma once

#include <array>
#include <string>

#include "scene/Vector3.h"

// An axis-aligned box, kept both as centre and full edge lengths and as its min and max corners; every
// setter keeps the two forms in agreement.
//
// Octants and corners share one numbering, 0 .. 7: bit 4 of the index selects the high side in x, bit 2
// in y, bit 1 in z. Octant 0 is low in all three axes, octant 7 high in all three.
class BoundingBox {
  public:
    // An empty box at the origin.
    BoundingBox() = default;
    BoundingBox(const Vector3& centre, const Vector3& dimensions);
    BoundingBox(const BoundingBox&) = default;
    BoundingBox& operator=(const BoundingBox&) = default;
    virtual ~BoundingBox() = default;

    const Vector3& getCentre() const { return m_centre; }
    const Vector3& getDimensions() const { return m_dimensions; }
    void getCentreAndDimensions(Vector3& centre, Vector3& dimensions) const;
    const Vector3& getMin() const { return m_min; }
    const Vector3& getMax() const { return m_max; }
    void getMinMax(Vector3& min, Vector3& max) const;

    void setCentreAndDimensions(const Vector3& centre, const Vector3& dimensions);
    void setCentre(const Vector3& centre);
    void setDimensions(const Vector3& dimensions);
    void setMinMax(const Vector3& min, const Vector3& max);

    // The corner named by the bits of `index` (see the numbering above); only bits 4, 2 and 1 are read.
    Vector3 getCorner(int index) const;

    // "{minx,miny,minz} -> {maxx,maxy,maxz}", one decimal each.
    virtual std::string print() const;

  private:
    void updateMinMax();

    Vector3 m_centre;
    Vector3 m_dimensions;
    Vector3 m_min;
    Vector3 m_max;
};

// Which octants around `point` the box reaches into (strictly: a box that only touches a centre plane
// does not reach across it). Sets flags[i] for each octant reached and returns the one octant index when
// exactly one is reached, otherwise -1.
int findBoxOctant(const BoundingBox& box, const Vector3& point, std::array<bool, 8>& flags);

// 0 when `box` and `other` are disjoint, 2 when `box` lies wholly inside `other`, 1 when they overlap.
int classifyBoxAgainstBox(const BoundingBox& box, const BoundingBox& other);
