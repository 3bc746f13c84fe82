#include "scene/SDCellPlacement.h"

#include <algorithm>
#include <utility>

namespace {

std::vector<float> accumulated(float start, float step, unsigned count) {
    std::vector<float> coordinates(count);
    float position = start;
    for (float& coordinate : coordinates) {
        coordinate = position;
        position += step;
    }
    return coordinates;
}

}  // namespace

SDCellPlacement SDCellPlacement::inBox(const Vector3& centre, const Vector3& extent, unsigned width,
                                       unsigned height, unsigned length) {
    SDCellPlacement placement;
    if (width == 0 || height == 0 || length == 0) {
        return placement;
    }
    const Vector3 start(centre.x - extent.x / 2.0f, centre.y - extent.y / 2.0f, centre.z - extent.z / 2.0f);
    placement.m_xs = accumulated(start.x, extent.x / static_cast<float>(width), width);
    placement.m_ys = accumulated(start.y, extent.y / static_cast<float>(height), height);
    placement.m_zs = accumulated(start.z, extent.z / static_cast<float>(length), length);
    return placement;
}

SDCellPlacement SDCellPlacement::unitSpaced(const Vector3& first, unsigned width, unsigned height,
                                            unsigned length) {
    SDCellPlacement placement;
    if (width == 0 || height == 0 || length == 0) {
        return placement;
    }
    placement.m_xs = accumulated(first.x, 1.0f, width);
    placement.m_ys = accumulated(first.y, 1.0f, height);
    placement.m_zs = accumulated(first.z, 1.0f, length);
    return placement;
}

SDCellPlacement SDCellPlacement::fromAxes(std::vector<float> xs, std::vector<float> ys,
                                          std::vector<float> zs) {
    SDCellPlacement placement;
    if (!xs.empty() && !ys.empty() && !zs.empty()) {
        placement.m_xs = std::move(xs);
        placement.m_ys = std::move(ys);
        placement.m_zs = std::move(zs);
    }
    return placement;
}

Vector3 SDCellPlacement::cellCentre(size_t cell) const {
    const size_t length = m_zs.size();
    const size_t height = m_ys.size();
    const size_t z = cell % length;
    const size_t y = (cell / length) % height;
    const size_t x = cell / length / height;
    return Vector3(m_xs[x], m_ys[y], m_zs[z]);
}

BoundingBox SDCellPlacement::bounds() const {
    BoundingBox box;
    if (empty()) {
        return box;
    }
    const float half = kCubeEdge / 2.0f;
    const auto [xMin, xMax] = std::minmax_element(m_xs.begin(), m_xs.end());
    const auto [yMin, yMax] = std::minmax_element(m_ys.begin(), m_ys.end());
    const auto [zMin, zMax] = std::minmax_element(m_zs.begin(), m_zs.end());
    box.setMinMax(Vector3(*xMin - half, *yMin - half, *zMin - half),
                  Vector3(*xMax + half, *yMax + half, *zMax + half));
    return box;
}
