#pragma once

#include <cstddef>
#include <vector>

#include "scene/BoundingBox.h"
#include "scene/Vector3.h"

// Where the cubes of one cell space stand in the world: the centre of every cell along each axis and the
// cubes' edge. Cell (x, y, z) is centred on (xs[x], ys[y], zs[z]); cells are numbered as the model stores
// them, (x * height + y) * length + z. Drawing, picking and fitting the view all read the same numbers.
class SDCellPlacement {
  public:
    static constexpr float kCubeEdge = 0.5f;

    SDCellPlacement() = default;

    // Cells spread over a box as the layout of the life model has always done it: the first cell on the
    // box's minimum corner, each next one a step of extent / count further, the coordinates accumulated
    // by adding steps (so they are bit for bit where the per-cube layout puts them).
    static SDCellPlacement inBox(const Vector3& centre, const Vector3& extent, unsigned width,
                                 unsigned height, unsigned length);
    // Cells one unit apart, cell (0, 0, 0) centred on `first`.
    static SDCellPlacement unitSpaced(const Vector3& first, unsigned width, unsigned height, unsigned length);
    // Cells centred on these coordinates along each axis.
    static SDCellPlacement fromAxes(std::vector<float> xs, std::vector<float> ys, std::vector<float> zs);

    unsigned getWidth() const { return static_cast<unsigned>(m_xs.size()); }
    unsigned getHeight() const { return static_cast<unsigned>(m_ys.size()); }
    unsigned getLength() const { return static_cast<unsigned>(m_zs.size()); }
    size_t cellCount() const { return m_xs.size() * m_ys.size() * m_zs.size(); }
    bool empty() const { return cellCount() == 0; }

    // Only for coordinates below the counts.
    Vector3 cellCentre(unsigned x, unsigned y, unsigned z) const {
        return Vector3(m_xs[x], m_ys[y], m_zs[z]);
    }
    // The same for a cell number.
    Vector3 cellCentre(size_t cell) const;
    float getCubeEdge() const { return kCubeEdge; }
    const std::vector<float>& xs() const { return m_xs; }
    const std::vector<float>& ys() const { return m_ys; }
    const std::vector<float>& zs() const { return m_zs; }

    // The box around every cube (an empty box at the origin without cells).
    BoundingBox bounds() const;

  private:
    std::vector<float> m_xs;
    std::vector<float> m_ys;
    std::vector<float> m_zs;
};
