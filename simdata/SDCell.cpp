#include "simdata/SDCell.h"

#include "scene/SDDetailNodeCUBE.h"

SDCell::SDCell() = default;

SDCell::SDCell(const SDCell&) {}

SDCell& SDCell::operator=(const SDCell& other) {
    if (this != &other) {
        m_cube.reset();
    }
    return *this;
}

SDCell::SDCell(SDCell&& other) noexcept = default;
SDCell& SDCell::operator=(SDCell&& other) noexcept = default;
SDCell::~SDCell() = default;

SDDetailNodeCUBE* SDCell::getCube() {
    if (!m_cube) {
        m_cube = std::make_unique<SDDetailNodeCUBE>();
    }
    return m_cube.get();
}
