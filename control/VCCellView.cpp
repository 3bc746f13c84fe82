#include "control/VCCellView.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "scene/SDColourRamp.h"
#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "view3d/Frustum.h"

namespace {

// The ramp in 8-bit steps, fine enough that neighbouring entries differ by at most one level.
constexpr size_t kRampSteps = 1024;

const std::array<SDCellBatch::Rgba8, kRampSteps>& rampTable() {
    static const std::array<SDCellBatch::Rgba8, kRampSteps> table = [] {
        std::array<SDCellBatch::Rgba8, kRampSteps> entries{};
        for (size_t i = 0; i < kRampSteps; ++i) {
            entries[i] = SDCellBatch::toRgba8(SDColourRamp::at(static_cast<double>(i) / (kRampSteps - 1)));
        }
        return entries;
    }();
    return table;
}

// The range the ramp spans for a model: see SDCellLook::Range. False when there is none (no values).
bool rangeInUse(const SDCELLDevsModel& model, const SDCellValues& values, double& minimum, double& maximum) {
    const SDCellLook* look = model.findLook();
    const SDCellLook::Range range = look != nullptr ? look->getRange() : SDCellLook::Range::Log;
    if (range == SDCellLook::Range::Now) {
        return values.currentRange(minimum, maximum);
    }
    if (range == SDCellLook::Range::Fixed) {
        minimum = look->getFixedLow();
        maximum = look->getFixedHigh();
        return true;
    }
    return values.range(minimum, maximum);
}

// Everything a pass over one model's cells needs, read once per pass.
class CellColours {
  public:
    CellColours(SDCELLDevsModel& model, const SDCellValues& values)
        : m_values(values),
          m_look(model.findLook() != nullptr ? &model.getLook() : nullptr),
          m_rules(model.getRules()) {
        m_noValue =
            SDCellBatch::toRgba8(m_look != nullptr ? m_look->getNoValueColour() : SDCellLook::kNoValueColour);
        m_hasRange = rangeInUse(model, values, m_minimum, m_maximum);
        m_checkRules = m_look != nullptr && m_rules.getNumRules() > 0;
    }

    SDCellBatch::Rgba8 operator()(size_t cell) const {
        if (!m_values.hasValue(cell)) {
            return m_noValue;
        }
        return ofValue(m_values.value(cell));
    }

    SDCellBatch::Rgba8 ofValue(double value) const {
        if (!std::isfinite(value)) {
            return m_noValue;
        }
        SDCellLook::Colour colour;
        if (m_checkRules && m_look->ruleColour(m_rules, value, colour)) {
            return SDCellBatch::toRgba8(colour);
        }
        return onRamp(value);
    }

    SDCellBatch::Rgba8 onRamp(double value) const {
        // A value outside a range that was never widened is a range of its own.
        const double position = m_hasRange ? SDColourRamp::position(value, m_minimum, m_maximum) : 0.5;
        const double clamped = std::clamp(position, 0.0, 1.0);
        return rampTable()[static_cast<size_t>(std::lround(clamped * (kRampSteps - 1)))];
    }

  private:
    const SDCellValues& m_values;
    SDCellLook* m_look;
    const SDTransitionRuleCollection& m_rules;
    SDCellBatch::Rgba8 m_noValue;
    bool m_hasRange = false;
    bool m_checkRules = false;
    double m_minimum = 0.0;
    double m_maximum = 0.0;
};

std::array<float, 4> toColour(SDCellBatch::Rgba8 colour) {
    return {colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, colour.a / 255.0f};
}

// What the legend of a drawn model shows.
void describeLegend(SDCELLDevsModel& model, VCCellView::DrawnModel& drawn) {
    const SDCellValues& values = model.getValues();
    const SDCellLook* look = model.findLook();
    const SDTransitionRuleCollection& rules = model.getRules();
    if (look != nullptr && rules.getNumRules() > 0) {
        drawn.legend = VCCellView::Legend::Rules;
        for (size_t i = 0; i < rules.getNumRules(); ++i) {
            VCCellView::Swatch swatch;
            if (look->describeRule(rules, i, swatch.low, swatch.high, swatch.colour)) {
                drawn.swatches.push_back(swatch);
            }
        }
        VCCellView::Swatch none;
        none.colour = look->getNoValueColour();
        none.noValue = true;
        drawn.swatches.push_back(none);
        return;
    }
    std::vector<double> distinct;
    if (values.distinctValues(distinct)) {
        drawn.legend = VCCellView::Legend::Values;
        const CellColours colours(model, values);
        // The largest on top, as on the colour bar.
        for (auto value = distinct.rbegin(); value != distinct.rend(); ++value) {
            VCCellView::Swatch swatch;
            swatch.colour = toColour(colours.onRamp(*value));
            swatch.low = swatch.high = *value;
            drawn.swatches.push_back(swatch);
        }
        return;
    }
    drawn.legend = drawn.hasRange ? VCCellView::Legend::Ramp : VCCellView::Legend::None;
}

bool samePlacement(const SDCellPlacement& a, const SDCellPlacement& b) {
    return a == b;
}

}  // namespace

VCCellView::VCCellView(SDDevsModelList* models) : m_models(models) {}

VCCellView::~VCCellView() = default;

void VCCellView::updateLayout() {
    std::map<std::string, SDCellLayout::Counts> counts;
    if (m_models != nullptr) {
        for (const auto& [name, record] : m_models->getModels()) {
            if (auto* cells = dynamic_cast<SDCELLDevsModel*>(record.get())) {
                counts[name] =
                    SDCellLayout::Counts{cells->getWidth(), cells->getHeight(), cells->getLength()};
                Entry& entry = m_entries[name];
                if (entry.model != cells) {
                    // Another record under this name (a plain one turned Cell-DEVS): nothing of the old
                    // one's looks carries over.
                    entry.model = cells;
                    entry.recolourAll = true;
                }
            }
        }
    }
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        it = counts.count(it->first) == 0 ? m_entries.erase(it) : std::next(it);
    }
    if (counts == m_laidOut) {
        return;
    }
    m_layout.place(counts);
    m_laidOut.swap(counts);
    for (auto& [name, entry] : m_entries) {
        if (entry.batch == nullptr || !samePlacement(entry.batch->getPlacement(), *m_layout.find(name))) {
            entry.placed = false;
            entry.failed = false;
        }
    }
}

void VCCellView::render(Frustum* frustum) {
    updateLayout();
    for (auto& [name, entry] : m_entries) {
        const SDCellPlacement* placement = m_layout.find(name);
        if (placement == nullptr) {
            continue;
        }
        if (!entry.placed) {
            if (entry.failed) {
                continue;
            }
            if (placement->cellCount() > SDCellBatch::kMaxCells) {
                logMessage("Unable to draw %s: %zu cells, more than the %zu the view draws of one model",
                           name.c_str(), placement->cellCount(), SDCellBatch::kMaxCells);
                entry.failed = true;
                continue;
            }
            if (entry.batch == nullptr) {
                entry.batch = std::make_unique<SDCellBatch>();
            }
            if (!entry.batch->build(*placement)) {
                entry.failed = true;
                continue;
            }
            entry.placed = true;
            entry.recolourAll = true;
        }
        recolour(entry);
        if (frustum != nullptr && frustum->classifyBox(placement->bounds()) == 2) {
            continue;
        }
        entry.batch->draw();
    }
}

void VCCellView::recolour(Entry& entry) {
    SDCELLDevsModel& model = *entry.model;
    const SDCellValues& values = model.getValues();
    bool all = false;
    model.getValues().takeChanges(m_changed, all);
    const SDCellLook* look = model.findLook();
    const unsigned long version = look != nullptr ? look->getVersion() : 0;
    if (version != entry.lookVersion) {
        entry.lookVersion = version;
        all = true;
    }
    // A new range in use (the values at the current time moved, say) changes what every colour means.
    double minimum = 0.0;
    double maximum = 0.0;
    const bool hasRange = rangeInUse(model, values, minimum, maximum);
    if (hasRange != entry.hadRange || (hasRange && (minimum != entry.minimum || maximum != entry.maximum))) {
        entry.hadRange = hasRange;
        entry.minimum = minimum;
        entry.maximum = maximum;
        all = true;
    }
    all = all || entry.recolourAll;
    if (!all && m_changed.empty()) {
        return;
    }
    if (!entry.batch->beginUpdate(all)) {
        return;
    }
    const CellColours colourOf(model, values);
    const size_t cells = entry.batch->getCellCount();
    if (all) {
        for (size_t cell = 0; cell < cells; ++cell) {
            entry.batch->setCell(cell, colourOf(cell));
        }
    } else {
        for (uint32_t cell : m_changed) {
            if (cell < cells) {
                entry.batch->setCell(cell, colourOf(cell));
            }
        }
    }
    entry.batch->endUpdate();
    entry.recolourAll = false;
}

bool VCCellView::isCellShown(const std::string& name, size_t cell) {
    auto found = m_entries.find(name);
    const SDCellPlacement* placement = m_layout.find(name);
    if (found == m_entries.end() || placement == nullptr || cell >= placement->cellCount()) {
        return false;
    }
    SDCELLDevsModel& model = *found->second.model;
    return CellColours(model, model.getValues())(cell).a != 0;
}

std::vector<VCCellView::DrawnModel> VCCellView::getDrawnModels() const {
    std::vector<DrawnModel> drawn;
    for (const auto& [name, entry] : m_entries) {
        const SDCellPlacement* placement = m_layout.find(name);
        if (placement == nullptr) {
            continue;
        }
        DrawnModel model;
        model.name = name;
        model.placement = placement;
        model.bounds = placement->bounds();
        model.hasRange = rangeInUse(*entry.model, entry.model->getValues(), model.minimum, model.maximum);
        describeLegend(*entry.model, model);
        drawn.push_back(model);
    }
    return drawn;
}

bool VCCellView::getBounds(BoundingBox& bounds) const {
    bool any = false;
    Vector3 low;
    Vector3 high;
    for (const auto& [name, placement] : m_layout.getPlacements()) {
        if (placement.empty()) {
            continue;
        }
        const BoundingBox box = placement.bounds();
        if (!any) {
            low = box.getMin();
            high = box.getMax();
            any = true;
        } else {
            low = Vector3(std::min(low.x, box.getMin().x), std::min(low.y, box.getMin().y),
                          std::min(low.z, box.getMin().z));
            high = Vector3(std::max(high.x, box.getMax().x), std::max(high.y, box.getMax().y),
                           std::max(high.z, box.getMax().z));
        }
    }
    if (any) {
        bounds.setMinMax(low, high);
    }
    return any;
}

size_t VCCellView::getBufferBytes() const {
    size_t bytes = 0;
    for (const auto& [name, entry] : m_entries) {
        if (entry.batch != nullptr) {
            bytes += entry.batch->getBufferBytes();
        }
    }
    return bytes;
}
