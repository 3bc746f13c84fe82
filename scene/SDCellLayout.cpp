#include "scene/SDCellLayout.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The row starts this far right of life's room, on a whole unit.
constexpr double kFirstColumn = 13.0;
// Life's box bottom and the plane of its cells when it has one layer: blocks stand on the one and face
// the viewer from the other.
constexpr float kBottomRow = -10.0f;
constexpr float kFrontLayer = -15.0f;

}  // namespace

BoundingBox SDCellLayout::lifeRoom() {
    const float half = SDCellPlacement::kCubeEdge / 2.0f;
    const float side = kLifeExtent + 2.0f * half;
    return BoundingBox(lifeCentre(), Vector3(side, side, side));
}

unsigned SDCellLayout::Counts::columnsTaken() const {
    if (layerColumns == 0 || length < 2) {
        return height;
    }
    const unsigned maps = std::min(layerColumns, length);
    return maps * (height + 1) - 1;
}

void SDCellLayout::place(const std::map<std::string, Counts>& models) {
    // Places that still fit stay, in the order they stand in.
    std::vector<std::pair<std::string, Slot>> kept;
    for (const auto& [name, slot] : m_slots) {
        if (models.count(name) != 0) {
            kept.emplace_back(name, slot);
        }
    }
    std::sort(kept.begin(), kept.end(),
              [](const auto& a, const auto& b) { return a.second.firstColumn < b.second.firstColumn; });
    std::map<std::string, Slot> slots;
    double end = kFirstColumn - kGapCells;  // first free column after the kept blocks, less the gap
    for (size_t i = 0; i < kept.size(); ++i) {
        const unsigned columns = models.at(kept[i].first).columnsTaken();
        const double limit = i + 1 < kept.size() ? kept[i + 1].second.firstColumn : -1.0;
        const double needed = kept[i].second.firstColumn + columns + kGapCells;
        if (limit < 0.0 || needed <= limit) {
            slots[kept[i].first] = Slot{kept[i].second.firstColumn, columns};
            end = std::max(end, kept[i].second.firstColumn + columns);
        }
    }
    // New models, and those that outgrew their place, follow at the end in name order.
    for (const auto& [name, counts] : models) {
        if (name == kLifeName || slots.count(name) != 0) {
            continue;
        }
        const double first = end + kGapCells;
        slots[name] = Slot{first, counts.columnsTaken()};
        end = first + counts.columnsTaken();
    }
    m_slots.swap(slots);

    m_placements.clear();
    for (const auto& [name, counts] : models) {
        if (name == kLifeName) {
            m_placements[name] =
                SDCellPlacement::inBox(lifeCentre(), Vector3(kLifeExtent, kLifeExtent, kLifeExtent),
                                       counts.width, counts.height, counts.length);
            continue;
        }
        // Rows run down from the top, so the last row stands on the bottom.
        const Slot& slot = m_slots.at(name);
        const Vector3 topLeft(static_cast<float>(slot.firstColumn),
                              kBottomRow + static_cast<float>(counts.width - 1),
                              kFrontLayer - static_cast<float>(counts.length - 1));
        m_placements[name] = SDCellPlacement::rowsDown(topLeft, counts.width, counts.height, counts.length)
                                 .withCubeEdge(counts.cubeEdge);
    }
}

const SDCellPlacement* SDCellLayout::find(std::string_view name) const {
    auto found = m_placements.find(name);
    return found == m_placements.end() ? nullptr : &found->second;
}
