#include "view3d/VDCellCoordinates.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "gui/VDBitmapFont.h"
#include "scene/SDCellPlacement.h"
#include "view3d/VDCellOverlay.h"

namespace {

// Between the block's edge and the numbers, in world units and in pixels.
constexpr float kEdgeGap = 0.3f;
constexpr float kTextGap = 3.0f;

// Labelled indices 0, step, 2 step, ... below `count`, the step doubled until neighbours are `least`
// pixels apart where `at` puts them.
template <class Position>
unsigned spacedStep(unsigned count, float least, Position at) {
    unsigned step = count <= VDCellCoordinates::kEveryCellUpTo ? 1 : VDCellCoordinates::kStep;
    while (step < count) {
        float ax = 0.0f, ay = 0.0f, bx = 0.0f, by = 0.0f;
        if (!at(0, ax, ay) || !at(step, bx, by) || std::hypot(bx - ax, by - ay) >= least) {
            break;
        }
        step *= 2;
    }
    return step;
}

}  // namespace

bool VDCellCoordinates::labels(const VCCellView::DrawnModel& model) {
    return model.placement != nullptr && !model.placement->empty() &&
           model.placement->getFrame() == SDCellPlacement::Frame::RowsDown;
}

namespace {

// The numbers of the cells [from, to) of one block or one laid-out map, `centre` giving where a cell
// stands; the column numbers when `columns`, the row numbers when `rows`.
// The numbers are the run's coordinates: the stored index plus `origin`.
template <class Centre>
void placeNumbers(const VDCellOverlay& overlay, const SDCellPlacement& placement, Centre centre,
                  const unsigned from[3], const unsigned to[3], const std::array<int, 3>& origin,
                  bool columns, bool rows, float charWidth, float charHeight,
                  std::vector<VDCellCoordinates::Label>& placed) {
    // The box around the cubes drawn.
    const float half = placement.getCubeEdge() / 2.0f;
    const Vector3 first = centre(from[0], from[1], from[2]);
    const Vector3 last = centre(to[0] - 1, to[1] - 1, to[2] - 1);
    const Vector3 low(std::min(first.x, last.x) - half, std::min(first.y, last.y) - half,
                      std::min(first.z, last.z) - half);
    const Vector3 high(std::max(first.x, last.x) + half, std::max(first.y, last.y) + half,
                       std::max(first.z, last.z) + half);
    // Columns above the top face's edge that appears higher (the far one from above, the near one from
    // the front), rows left of the side face's edge that appears further left.
    auto columnAt = [&](unsigned c, float depth, float& x, float& y) {
        const Vector3 at = centre(from[0], c, from[2]);
        return overlay.project(Vector3(at.x, high.y + kEdgeGap, depth), x, y);
    };
    auto rowAt = [&](unsigned r, float depth, float& x, float& y) {
        const Vector3 at = centre(r, from[1], from[2]);
        return overlay.project(Vector3(low.x - kEdgeGap, at.y, depth), x, y);
    };
    float columnDepth = low.z;
    float rowDepth = high.z;
    {
        float farX = 0.0f, farY = 0.0f, nearX = 0.0f, nearY = 0.0f;
        const bool far = columnAt(from[1], low.z, farX, farY);
        const bool near = columnAt(from[1], high.z, nearX, nearY);
        columnDepth = near && (!far || nearY > farY) ? high.z : low.z;
        const bool farRow = rowAt(from[0], low.z, farX, farY);
        const bool nearRow = rowAt(from[0], high.z, nearX, nearY);
        rowDepth = farRow && (!nearRow || farX < nearX) ? low.z : high.z;
    }
    auto column = [&](unsigned i, float& x, float& y) { return columnAt(from[1] + i, columnDepth, x, y); };
    auto row = [&](unsigned i, float& x, float& y) { return rowAt(from[0] + i, rowDepth, x, y); };
    const unsigned rowCount = to[0] - from[0];
    const unsigned columnCount = to[1] - from[1];
    // The longest number a side may carry; a space starting below 0 has its minus signs to fit too.
    size_t longest = std::to_string(std::max(placement.getWidth(), placement.getHeight())).size();
    const unsigned counts[2] = {placement.getWidth(), placement.getHeight()};
    for (int axis = 0; axis < 2; ++axis) {
        const long long first = origin[axis];
        longest =
            std::max({longest, std::to_string(first).size(), std::to_string(first + counts[axis]).size()});
    }
    const float widest = charWidth * static_cast<float>(longest);
    const unsigned columnStep = spacedStep(columnCount, widest + kTextGap, column);
    const unsigned rowStep = spacedStep(rowCount, charHeight + 1.0f, row);
    for (unsigned c = 0; columns && c < columnCount; c += columnStep) {
        float x = 0.0f, y = 0.0f;
        if (column(c, x, y)) {
            const std::string text = std::to_string(static_cast<long long>(from[1] + c) + origin[1]);
            const float width = charWidth * static_cast<float>(text.size());
            placed.push_back(
                VDCellCoordinates::Label{text, std::lround(x - width / 2.0f), std::lround(y + 1.0f), true});
        }
    }
    for (unsigned r = 0; rows && r < rowCount; r += rowStep) {
        float x = 0.0f, y = 0.0f;
        if (row(r, x, y)) {
            const std::string text = std::to_string(static_cast<long long>(from[0] + r) + origin[0]);
            const float width = charWidth * static_cast<float>(text.size());
            placed.push_back(VDCellCoordinates::Label{text, std::lround(x - kTextGap - width),
                                                      std::lround(y - charHeight / 2.0f + 2.0f), false});
        }
    }
}

}  // namespace

std::vector<VDCellCoordinates::Label> VDCellCoordinates::place(const VDCellOverlay& overlay,
                                                               const VCCellView::DrawnModel& model,
                                                               float charWidth, float charHeight) {
    std::vector<Label> placed;
    if (!labels(model)) {
        return placed;
    }
    const SDCellPlacement& placement = *model.placement;
    // Only the cells drawn are numbered: a slice's row, column or layer.
    unsigned from[3] = {0, 0, 0};
    unsigned to[3] = {placement.getWidth(), placement.getHeight(), placement.getLength()};
    if (model.sliceAxis >= 0 && model.sliceAxis < 3 && model.sliceLayer < to[model.sliceAxis]) {
        from[model.sliceAxis] = model.sliceLayer;
        to[model.sliceAxis] = model.sliceLayer + 1;
    }
    if (model.layers.size() != placement.getLength() || model.layerColumns == 0) {
        auto centre = [&](unsigned x, unsigned y, unsigned z) { return placement.cellCentre(x, y, z); };
        placeNumbers(overlay, placement, centre, from, to, model.origin, true, true, charWidth, charHeight,
                     placed);
        return placed;
    }
    // Laid-out maps: the column numbers above the top row of maps drawn, the row numbers left of the
    // first column, so that each map keeps the room above it for its "z = k".
    const unsigned columns = model.layerColumns;
    const bool one = to[2] - from[2] == 1;
    for (unsigned k = from[2]; k < to[2]; ++k) {
        const SDCellPlacement& map = *model.layers[k];
        auto centre = [&](unsigned x, unsigned y, unsigned) { return map.cellCentre(x, y, 0); };
        const unsigned mapFrom[3] = {from[0], from[1], 0};
        const unsigned mapTo[3] = {to[0], to[1], 1};
        placeNumbers(overlay, placement, centre, mapFrom, mapTo, model.origin,
                     k / columns == from[2] / columns, one || k % columns == 0, charWidth, charHeight,
                     placed);
    }
    return placed;
}

void VDCellCoordinates::draw(const VDCellOverlay& overlay, const VCCellView::DrawnModel& model,
                             const VDBitmapFont* font, float charWidth, float charHeight) {
    if (font == nullptr) {
        return;
    }
    for (const Label& label : place(overlay, model, charWidth, charHeight)) {
        drawText(font, static_cast<int>(label.x), static_cast<int>(label.y), label.text);
    }
}
