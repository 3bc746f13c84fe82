#include "scene/SDCellLayers.h"

#include <cmath>

namespace {

// The distance between neighbouring cells: along the first axis with more than one cell, else a unit.
float pitch(const SDCellPlacement& whole) {
    if (whole.getWidth() > 1) {
        return std::fabs(whole.xs()[1] - whole.xs()[0]);
    }
    if (whole.getHeight() > 1) {
        return std::fabs(whole.ys()[1] - whole.ys()[0]);
    }
    return 1.0f;
}

}  // namespace

Vector3 SDCellLayers::offset(const SDCellPlacement& whole, unsigned layer) {
    if (whole.empty() || layer >= whole.getLength()) {
        return Vector3(0.0f, 0.0f, 0.0f);
    }
    const Vector3 first = whole.cellCentre(0, 0, 0);
    const Vector3 here = whole.cellCentre(0, 0, layer);
    const float width = whole.bounds().getMax().x - whole.bounds().getMin().x;
    // From one layer's right edge to the next one's left: one empty cell.
    const float step = width + 2.0f * pitch(whole) - whole.getCubeEdge();
    return Vector3(first.x - here.x + step * static_cast<float>(layer), first.y - here.y, first.z - here.z);
}

std::vector<SDCellPlacement> SDCellLayers::split(const SDCellPlacement& whole) {
    std::vector<SDCellPlacement> layers;
    for (unsigned layer = 0; layer < whole.getLength(); ++layer) {
        // The offset is a world move; the axes are in the block's frame, which is only turned, not moved.
        const Vector3 by = whole.toLocal(offset(whole, layer));
        std::vector<float> xs = whole.xs();
        std::vector<float> ys = whole.ys();
        for (float& x : xs) {
            x += by.x;
        }
        for (float& y : ys) {
            y += by.y;
        }
        layers.push_back(SDCellPlacement::fromAxes(std::move(xs), std::move(ys), {whole.zs()[layer] + by.z},
                                                   whole.getFrame()));
    }
    return layers;
}
