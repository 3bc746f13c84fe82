#include "scene/SDCellLayers.h"

#include <algorithm>
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

// From one map's first cell to the next one's, across and down: a map's size and one empty cell.
void steps(const SDCellPlacement& whole, float& across, float& down) {
    const BoundingBox box = whole.bounds();
    const float gap = 2.0f * pitch(whole) - whole.getCubeEdge();
    across = box.getMax().x - box.getMin().x + gap;
    down = box.getMax().y - box.getMin().y + gap;
}

}  // namespace

unsigned SDCellLayers::columnsFor(const SDCellPlacement& whole, float aspect) {
    const unsigned layers = whole.getLength();
    if (whole.empty() || layers < 2 || !(aspect > 0.0f) || !std::isfinite(aspect)) {
        return std::max(1u, layers);
    }
    float across = 0.0f;
    float down = 0.0f;
    steps(whole, across, down);
    const float gap = 2.0f * pitch(whole) - whole.getCubeEdge();
    unsigned best = 1;
    float bestScale = 0.0f;
    for (unsigned columns = 1; columns <= layers; ++columns) {
        const unsigned rows = (layers + columns - 1) / columns;
        const float width = static_cast<float>(columns) * across - gap;
        const float height = static_cast<float>(rows) * down - gap;
        // Pixels a unit gets in a picture `aspect` wide and 1 high.
        const float scale = std::min(aspect / width, 1.0f / height);
        if (scale > bestScale) {
            bestScale = scale;
            best = columns;
        }
    }
    return best;
}

Vector3 SDCellLayers::offset(const SDCellPlacement& whole, unsigned layer, unsigned columns) {
    if (whole.empty() || layer >= whole.getLength()) {
        return Vector3(0.0f, 0.0f, 0.0f);
    }
    columns = std::max(1u, columns);
    const Vector3 first = whole.cellCentre(0, 0, 0);
    const Vector3 here = whole.cellCentre(0, 0, layer);
    float across = 0.0f;
    float down = 0.0f;
    steps(whole, across, down);
    const float column = static_cast<float>(layer % columns);
    const float row = static_cast<float>(layer / columns);
    return Vector3(first.x - here.x + across * column, first.y - here.y - down * row, first.z - here.z);
}

std::vector<SDCellPlacement> SDCellLayers::split(const SDCellPlacement& whole, unsigned columns) {
    std::vector<SDCellPlacement> layers;
    for (unsigned layer = 0; layer < whole.getLength(); ++layer) {
        // The offset is a world move; the axes are in the block's frame, which is only turned, not moved.
        const Vector3 by = whole.toLocal(offset(whole, layer, columns));
        std::vector<float> xs = whole.xs();
        std::vector<float> ys = whole.ys();
        for (float& x : xs) {
            x += by.x;
        }
        for (float& y : ys) {
            y += by.y;
        }
        layers.push_back(SDCellPlacement::fromAxes(std::move(xs), std::move(ys), {whole.zs()[layer] + by.z},
                                                   whole.getFrame())
                             .withCubeEdge(whole.getCubeEdge()));
    }
    return layers;
}
