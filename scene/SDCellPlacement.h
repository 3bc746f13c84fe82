#pragma once

#include <cstddef>
#include <vector>

#include "scene/BoundingBox.h"
#include "scene/Vector3.h"

// Where the cubes of one cell space stand in the world: the centre of every cell along each axis and the
// cubes' edge. Cells are numbered as the model stores them, (x * height + y) * length + z. Drawing,
// picking and fitting the view all read the same numbers.
//
// Each cube has the placement's edge: kCubeEdge (cubes standing apart, one unit between cells) unless made
// solid with withCubeEdge (an edge of 1 fills each cell of a unit-spaced block).
//
// The axes hold the cells' centres in the block's own frame: cell (x, y, z) is at (xs[x], ys[y], zs[z])
// there. A block whose rows run down (Frame::RowsDown) is turned into the world so that the first
// coordinate runs down the screen, the second to the right and the third towards the viewer: the world
// point of (a, b, c) is (b, -a, c). cellCentre and bounds answer in the world; the batch draws in the
// block's frame under frameMatrix(), and the picker turns its ray into that frame.
class SDCellPlacement {
  public:
    static constexpr float kCubeEdge = 0.5f;

    enum class Frame { AsStored, RowsDown };

    SDCellPlacement() = default;

    // Cells spread over a box as the layout of the life model has always done it: the first cell on the
    // box's minimum corner, each next one a step of extent / count further, the coordinates accumulated
    // by adding steps (so they are bit for bit where the per-cube layout puts them).
    static SDCellPlacement inBox(const Vector3& centre, const Vector3& extent, unsigned width,
                                 unsigned height, unsigned length);
    // Cells one unit apart, cell (0, 0, 0) centred on `first`.
    static SDCellPlacement unitSpaced(const Vector3& first, unsigned width, unsigned height, unsigned length);
    // Cells one unit apart, rows running down: cell (0, 0, 0) centred on the world point `topLeft`, cell
    // (x, y, z) x units below, y to the right and z nearer the viewer.
    static SDCellPlacement rowsDown(const Vector3& topLeft, unsigned width, unsigned height, unsigned length);
    // Cells centred on these coordinates along each axis of the given frame (the axes are in that frame).
    static SDCellPlacement fromAxes(std::vector<float> xs, std::vector<float> ys, std::vector<float> zs,
                                    Frame frame = Frame::AsStored);

    unsigned getWidth() const { return static_cast<unsigned>(m_xs.size()); }
    unsigned getHeight() const { return static_cast<unsigned>(m_ys.size()); }
    unsigned getLength() const { return static_cast<unsigned>(m_zs.size()); }
    size_t cellCount() const { return m_xs.size() * m_ys.size() * m_zs.size(); }
    bool empty() const { return cellCount() == 0; }

    // Where cell (x, y, z) stands in the world; the one place that maps coordinates to positions. Only
    // for coordinates below the counts.
    Vector3 cellCentre(unsigned x, unsigned y, unsigned z) const { return toWorld(localCentre(x, y, z)); }
    // The same for a cell number.
    Vector3 cellCentre(size_t cell) const;
    // The centre in the block's own frame.
    Vector3 localCentre(unsigned x, unsigned y, unsigned z) const {
        return Vector3(m_xs[x], m_ys[y], m_zs[z]);
    }

    Frame getFrame() const { return m_frame; }
    // Points and directions between the block's frame and the world (a turn about the z axis).
    Vector3 toWorld(const Vector3& local) const;
    Vector3 toLocal(const Vector3& world) const;
    // The frame as a column-major GL matrix, to draw the block's own coordinates into the world.
    void frameMatrix(float matrix[16]) const;
    float getCubeEdge() const { return m_cubeEdge; }
    // The same cells with cubes of that edge.
    SDCellPlacement withCubeEdge(float edge) const {
        SDCellPlacement placement = *this;
        placement.m_cubeEdge = edge;
        return placement;
    }
    const std::vector<float>& xs() const { return m_xs; }
    const std::vector<float>& ys() const { return m_ys; }
    const std::vector<float>& zs() const { return m_zs; }

    // The box around every cube in the world (an empty box at the origin without cells).
    BoundingBox bounds() const;
    // The same in the block's frame.
    BoundingBox localBounds() const;

    bool operator==(const SDCellPlacement& o) const {
        return m_frame == o.m_frame && m_cubeEdge == o.m_cubeEdge && m_xs == o.m_xs && m_ys == o.m_ys &&
               m_zs == o.m_zs;
    }

  private:
    Frame m_frame = Frame::AsStored;
    float m_cubeEdge = kCubeEdge;
    std::vector<float> m_xs;
    std::vector<float> m_ys;
    std::vector<float> m_zs;
};
