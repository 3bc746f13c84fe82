#pragma once

#include <memory>

class SDDetailNodeCUBE;

// One cell of a Cell-DEVS model and the cube that stands for it in the 3D view. The cube is built on
// first request, so a cell space that is never drawn costs no cubes.
class SDCell {
  public:
    SDCell();
    // A copy gets a fresh cube with the defaults; a cube is never shared or duplicated.
    SDCell(const SDCell& other);
    SDCell& operator=(const SDCell& other);
    // Moving hands the cube over unchanged.
    SDCell(SDCell&& other) noexcept;
    SDCell& operator=(SDCell&& other) noexcept;
    virtual ~SDCell();

    // The cell's cube, built with the cube's defaults on the first call; never null.
    SDDetailNodeCUBE* getCube();
    bool hasCube() const { return m_cube != nullptr; }

  private:
    std::unique_ptr<SDDetailNodeCUBE> m_cube;
};
