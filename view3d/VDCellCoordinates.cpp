#include "view3d/VDCellCoordinates.h"

#include <algorithm>
#include <cmath>
#include <string>

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

void VDCellCoordinates::draw(const VDCellOverlay& overlay, const VCCellView::DrawnModel& model,
                             const VDBitmapFont* font, float charWidth, float charHeight) {
    if (font == nullptr || !labels(model)) {
        return;
    }
    const SDCellPlacement& placement = *model.placement;
    const Vector3& low = model.bounds.getMin();
    const Vector3& high = model.bounds.getMax();
    // Columns above the top face's far edge (the highest on screen from above), rows left of the front
    // face's left edge (the leftmost from the right).
    auto column = [&](unsigned c, float& x, float& y) {
        const Vector3 centre = placement.cellCentre(0, c, 0);
        return overlay.project(Vector3(centre.x, high.y + kEdgeGap, low.z), x, y);
    };
    auto row = [&](unsigned r, float& x, float& y) {
        const Vector3 centre = placement.cellCentre(r, 0, 0);
        return overlay.project(Vector3(low.x - kEdgeGap, centre.y, high.z), x, y);
    };
    const unsigned rows = placement.getWidth();
    const unsigned columns = placement.getHeight();
    const float widest = charWidth * static_cast<float>(std::to_string(std::max(rows, columns)).size());
    const unsigned columnStep = spacedStep(columns, widest + kTextGap, column);
    const unsigned rowStep = spacedStep(rows, charHeight + 1.0f, row);
    for (unsigned c = 0; c < columns; c += columnStep) {
        float x = 0.0f, y = 0.0f;
        if (column(c, x, y)) {
            const std::string text = std::to_string(c);
            const float width = charWidth * static_cast<float>(text.size());
            drawText(font, static_cast<int>(std::lround(x - width / 2.0f)),
                     static_cast<int>(std::lround(y + 1.0f)), text);
        }
    }
    for (unsigned r = 0; r < rows; r += rowStep) {
        float x = 0.0f, y = 0.0f;
        if (row(r, x, y)) {
            const std::string text = std::to_string(r);
            const float width = charWidth * static_cast<float>(text.size());
            drawText(font, static_cast<int>(std::lround(x - kTextGap - width)),
                     static_cast<int>(std::lround(y - charHeight / 2.0f + 2.0f)), text);
        }
    }
}
