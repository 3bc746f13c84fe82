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

SDCellPlacement SDCellPlacement::rowsDown(const Vector3& topLeft, unsigned width, unsigned height,
                                          unsigned length) {
    SDCellPlacement placement;
    if (width == 0 || height == 0 || length == 0) {
        return placement;
    }
    placement.m_frame = Frame::RowsDown;
    const Vector3 first = placement.toLocal(topLeft);
    placement.m_xs = accumulated(first.x, 1.0f, width);
    placement.m_ys = accumulated(first.y, 1.0f, height);
    placement.m_zs = accumulated(first.z, 1.0f, length);
    return placement;
}

Vector3 SDCellPlacement::toWorld(const Vector3& local) const {
    return m_frame == Frame::RowsDown ? Vector3(local.y, -local.x, local.z) : local;
}

Vector3 SDCellPlacement::toLocal(const Vector3& world) const {
    return m_frame == Frame::RowsDown ? Vector3(-world.y, world.x, world.z) : world;
}

void SDCellPlacement::frameMatrix(float matrix[16]) const {
    const Vector3 columns[3] = {toWorld(Vector3(1, 0, 0)), toWorld(Vector3(0, 1, 0)),
                                toWorld(Vector3(0, 0, 1))};
    for (int c = 0; c < 3; ++c) {
        matrix[4 * c] = columns[c].x;
        matrix[4 * c + 1] = columns[c].y;
        matrix[4 * c + 2] = columns[c].z;
        matrix[4 * c + 3] = 0.0f;
    }
    matrix[12] = matrix[13] = matrix[14] = 0.0f;
    matrix[15] = 1.0f;
}

SDCellPlacement SDCellPlacement::fromAxes(std::vector<float> xs, std::vector<float> ys, std::vector<float> zs,
                                          Frame frame) {
    SDCellPlacement placement;
    placement.m_frame = frame;
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
    return toWorld(Vector3(m_xs[x], m_ys[y], m_zs[z]));
}

BoundingBox SDCellPlacement::bounds() const {
    const BoundingBox local = localBounds();
    const Vector3 a = toWorld(local.getMin());
    const Vector3 b = toWorld(local.getMax());
    BoundingBox box;
    box.setMinMax(Vector3(std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)),
                  Vector3(std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)));
    return box;
}

BoundingBox SDCellPlacement::localBounds() const {
    BoundingBox box;
    if (empty()) {
        return box;
    }
    const float half = m_cubeEdge / 2.0f;
    const auto [xMin, xMax] = std::minmax_element(m_xs.begin(), m_xs.end());
    const auto [yMin, yMax] = std::minmax_element(m_ys.begin(), m_ys.end());
    const auto [zMin, zMax] = std::minmax_element(m_zs.begin(), m_zs.end());
    box.setMinMax(Vector3(*xMin - half, *yMin - half, *zMin - half),
                  Vector3(*xMax + half, *yMax + half, *zMax + half));
    return box;
}
