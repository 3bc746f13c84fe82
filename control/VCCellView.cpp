#include "control/VCCellView.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "control/VCColourRange.h"
#include "scene/SDCellLayers.h"
#include "scene/SDColourRamp.h"
#include "scene/SDOutlineBox.h"
#include "shell/Log.h"
#include "shell/LogFormat.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDTimeCursor.h"
#include "view3d/Frustum.h"

namespace {

// The ramp in 8-bit steps, fine enough that neighbouring entries differ by at most one level.
constexpr size_t kRampSteps = 1024;

using RampTable = std::array<SDCellBatch::Rgba8, kRampSteps>;

const RampTable& rampTable(SDColourRamp::Map map) {
    static const std::array<RampTable, 4> tables = [] {
        std::array<RampTable, 4> all{};
        for (size_t m = 0; m < all.size(); ++m) {
            for (size_t i = 0; i < kRampSteps; ++i) {
                all[m][i] = SDCellBatch::toRgba8(SDColourRamp::at(static_cast<double>(i) / (kRampSteps - 1),
                                                                  static_cast<SDColourRamp::Map>(m)));
            }
        }
        return all;
    }();
    return tables[static_cast<size_t>(map)];
}

// Everything a pass over one model's cells needs, read once per pass.
class CellColours {
  public:
    // Cells off the slice (`axis` 0 to 2; -1 for none) are hidden, and so are those of the `hidden`
    // background that no colour of the user's draws.
    CellColours(SDCELLDevsModel& model, const SDCellValues& values, int axis = -1, unsigned layer = 0,
                const SDCellValues::Background* hidden = nullptr)
        : m_values(values),
          m_look(model.findLook() != nullptr ? &model.getLook() : nullptr),
          m_rules(model.getRules()) {
        if (hidden != nullptr) {
            m_hideNoValue = hidden->noValue && (m_look == nullptr || !m_look->hasNoValueColour());
            m_hideValue = !hidden->noValue;
            m_hiddenValue = hidden->value;
        }
        m_noValue =
            SDCellBatch::toRgba8(m_look != nullptr ? m_look->getNoValueColour() : SDCellLook::kNoValueColour);
        m_scale = VCColourRange::of(model).scale;
        m_checkRules = m_look != nullptr && m_rules.getNumRules() > 0;
        m_axis = axis;
        m_layer = layer;
        m_height = std::max(1u, model.getHeight());
        m_length = std::max(1u, model.getLength());
    }

    SDCellBatch::Rgba8 operator()(size_t cell) const {
        if (m_axis >= 0 && coordinate(cell) != m_layer) {
            return SDCellBatch::Rgba8{};
        }
        if (!m_values.hasValue(cell)) {
            return m_hideNoValue ? SDCellBatch::Rgba8{} : m_noValue;
        }
        return ofValue(m_values.value(cell));
    }

    SDCellBatch::Rgba8 ofValue(double value) const {
        if (!std::isfinite(value)) {
            return m_hideNoValue ? SDCellBatch::Rgba8{} : m_noValue;
        }
        SDCellLook::Colour colour;
        if (m_checkRules && m_look->ruleColour(m_rules, value, colour)) {
            return SDCellBatch::toRgba8(colour);
        }
        if (m_hideValue && value == m_hiddenValue) {
            return SDCellBatch::Rgba8{};
        }
        return onRamp(value);
    }

    // The colour the user gave the cells holding the background (a rule, or the look of no value);
    // false when none: they are then left out.
    bool userColour(const SDCellValues::Background& background, SDCellLook::Colour& colour) const {
        if (background.noValue) {
            if (m_look == nullptr || !m_look->hasNoValueColour()) {
                return false;
            }
            colour = m_look->getNoValueColour();
            return true;
        }
        return m_checkRules && m_look->ruleColour(m_rules, background.value, colour);
    }
    bool hides(const SDCellValues::Background& background) const {
        SDCellLook::Colour colour;
        return !userColour(background, colour);
    }

    SDCellBatch::Rgba8 onRamp(double value) const {
        // A value outside a range that was never widened is a range of its own.
        const double clamped = std::clamp(m_scale.position(value), 0.0, 1.0);
        return rampTable(m_scale.map)[static_cast<size_t>(std::lround(clamped * (kRampSteps - 1)))];
    }

  private:
    size_t coordinate(size_t cell) const {
        switch (m_axis) {
            case 0:
                return cell / m_length / m_height;
            case 1:
                return cell / m_length % m_height;
            default:
                return cell % m_length;
        }
    }

    const SDCellValues& m_values;
    SDCellLook* m_look;
    int m_axis = -1;
    size_t m_layer = 0;
    size_t m_height = 1;
    size_t m_length = 1;
    const SDTransitionRuleCollection& m_rules;
    SDCellBatch::Rgba8 m_noValue;
    SDColourScale m_scale;
    bool m_checkRules = false;
    bool m_hideNoValue = false;
    bool m_hideValue = false;
    double m_hiddenValue = 0.0;
};

std::array<float, 4> toColour(SDCellBatch::Rgba8 colour) {
    return {colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, colour.a / 255.0f};
}

// Whether a cell drawn (of the slice, `axis` -1 for none) shows the no-value look: it has no value, or one
// that is not a finite number. Stops at the first one found.
bool drawsCellWithoutValue(const SDCELLDevsModel& model, const SDCellValues& values, int axis,
                           unsigned layer) {
    const unsigned counts[3] = {model.getWidth(), model.getHeight(), model.getLength()};
    unsigned from[3] = {0, 0, 0};
    unsigned to[3] = {counts[0], counts[1], counts[2]};
    if (axis >= 0 && axis < 3) {
        from[axis] = layer;
        to[axis] = std::min(layer + 1, counts[axis]);
    }
    for (unsigned x = from[0]; x < to[0]; ++x) {
        for (unsigned y = from[1]; y < to[1]; ++y) {
            for (unsigned z = from[2]; z < to[2]; ++z) {
                const size_t cell = (static_cast<size_t>(x) * counts[1] + y) * counts[2] + z;
                if (!values.hasValue(cell) || !std::isfinite(values.value(cell))) {
                    return true;
                }
            }
        }
    }
    return false;
}

struct RuleRange {
    double low;
    double high;
};

// Whether the rules' ranges leave some of low .. high to the ramp.
bool rampColoursPartOf(std::vector<RuleRange> rules, double low, double high) {
    std::sort(rules.begin(), rules.end(),
              [](const RuleRange& a, const RuleRange& b) { return a.low < b.low; });
    bool reached = false;
    double reach = low;  // low .. reach is the rules' once reached
    for (const RuleRange& rule : rules) {
        if (rule.high < low) {
            continue;
        }
        if (rule.low > reach) {
            return true;
        }
        reach = reached ? std::max(reach, rule.high) : rule.high;
        reached = true;
        if (reach >= high) {
            return false;
        }
    }
    return true;
}

constexpr const char* kHiddenNote = " (most cells: hidden)";

// What the legend of a drawn model shows. `hidden`: the background whose cells are left out, or null.
void describeLegend(SDCELLDevsModel& model, VCCellView::DrawnModel& drawn,
                    const SDCellValues::Background* hidden) {
    const SDCellValues& values = model.getValues();
    const SDCellLook* look = model.findLook();
    const SDTransitionRuleCollection& rules = model.getRules();
    const std::array<float, 4> noValueColour =
        look != nullptr ? look->getNoValueColour() : SDCellLook::kNoValueColour;
    VCCellView::Swatch none;
    none.colour = noValueColour;
    none.noValue = true;
    const CellColours colours(model, values);
    if (hidden != nullptr && !colours.hides(*hidden)) {
        hidden = nullptr;
    }
    // The hidden background's entry says so: the value's own swatch, or one added before "no value".
    const bool hiddenValue = hidden != nullptr && !hidden->noValue;
    const bool hiddenNone = hidden != nullptr && hidden->noValue;
    if (hiddenNone) {
        none.text = "no value" + std::string(kHiddenNote);
    }
    VCCellView::Swatch background;
    if (hiddenValue) {
        background.colour = toColour(colours.onRamp(hidden->value));
        background.low = background.high = hidden->value;
        background.text = numberText(hidden->value) + kHiddenNote;
    }
    // Whether the swatches of a Values list hold the hidden value (they then carry the note).
    bool listed = false;
    auto valueSwatch = [&](double value) {
        VCCellView::Swatch swatch;
        swatch.colour = toColour(colours.onRamp(value));
        swatch.low = swatch.high = value;
        if (hiddenValue && value == hidden->value) {
            swatch.text = background.text;
            listed = true;
        }
        return swatch;
    };
    std::vector<double> distinct;
    const bool few = values.distinctValues(distinct);
    if (look != nullptr && rules.getNumRules() > 0) {
        drawn.legend = VCCellView::Legend::Rules;
        std::vector<RuleRange> ranges;
        for (size_t i = 0; i < rules.getNumRules(); ++i) {
            VCCellView::Swatch swatch;
            if (look->describeRule(rules, i, swatch.low, swatch.high, swatch.colour)) {
                drawn.swatches.push_back(swatch);
                ranges.push_back(RuleRange{swatch.low, swatch.high});
            }
        }
        if (few) {
            // The values no rule holds keep the ramp's colour and their entry, the largest first.
            for (auto value = distinct.rbegin(); value != distinct.rend(); ++value) {
                const bool ruled = std::any_of(ranges.begin(), ranges.end(), [&](const RuleRange& range) {
                    return range.low <= *value && *value <= range.high;
                });
                if (!ruled) {
                    drawn.swatches.push_back(valueSwatch(*value));
                }
            }
        } else {
            drawn.bar = drawn.hasRange && rampColoursPartOf(ranges, drawn.minimum, drawn.maximum);
        }
        if (hiddenValue && !listed) {
            drawn.swatches.push_back(background);
        }
        // Always with rules: `vis_color <model> none` sets this look beside them.
        drawn.swatches.push_back(none);
        return;
    }
    if (few) {
        drawn.legend = VCCellView::Legend::Values;
        // The largest on top, as on the colour bar.
        for (auto value = distinct.rbegin(); value != distinct.rend(); ++value) {
            drawn.swatches.push_back(valueSwatch(*value));
        }
    } else if (drawn.hasRange) {
        drawn.legend = VCCellView::Legend::Ramp;
        drawn.bar = true;
        if (drawn.notPositive) {
            VCCellView::Swatch swatch;
            swatch.colour = toColour(colours.onRamp(0.0));
            swatch.text = "≤ 0";
            drawn.swatches.push_back(swatch);
        }
    }
    if (hiddenValue && !listed) {
        drawn.swatches.push_back(background);
    }
    if (drawsCellWithoutValue(model, values, drawn.sliceAxis, drawn.sliceLayer)) {
        if (drawn.legend == VCCellView::Legend::None) {
            drawn.legend = VCCellView::Legend::Values;
        }
        drawn.swatches.push_back(none);
    }
}

// Whether a space of those counts is drawn solid: life's box never; else as asked, or by its size.
bool solidLook(const std::string& name, const SDCellLayout::Counts& counts, VCCellView::CellLook look) {
    if (name == SDCellLayout::kLifeName || look == VCCellView::CellLook::Apart) {
        return false;
    }
    return look == VCCellView::CellLook::Solid ||
           std::max({counts.width, counts.height, counts.length}) > VCCellView::kSolidBeyond;
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
                SDCellLayout::Counts& laid = counts[name];
                laid = SDCellLayout::Counts{cells->getWidth(), cells->getHeight(), cells->getLength()};
                if (solidLook(name, laid, getCellLook(name))) {
                    laid.cubeEdge = 1.0f;
                }
                // Laid-out layers widen the model's place in the row, so that its grid stays clear of its
                // neighbours (life's box has no place in the row).
                if (auto layered = m_layered.find(name);
                    layered != m_layered.end() && laid.length > 1 && name != SDCellLayout::kLifeName) {
                    const SDCellPlacement shape = SDCellPlacement::rowsDown(
                        Vector3(0.0f, 0.0f, 0.0f), laid.width, laid.height, laid.length);
                    laid.layerColumns = SDCellLayers::columnsFor(shape, layered->second);
                }
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
    // A slice goes with its model.
    for (auto it = m_slices.begin(); it != m_slices.end();) {
        it = counts.count(it->first) == 0 ? m_slices.erase(it) : std::next(it);
    }
    for (auto it = m_layered.begin(); it != m_layered.end();) {
        it = counts.count(it->first) == 0 ? m_layered.erase(it) : std::next(it);
    }
    for (auto it = m_backgroundShown.begin(); it != m_backgroundShown.end();) {
        it = counts.count(*it) == 0 ? m_backgroundShown.erase(it) : std::next(it);
    }
    for (auto it = m_looks.begin(); it != m_looks.end();) {
        it = counts.count(it->first) == 0 ? m_looks.erase(it) : std::next(it);
    }
    if (counts != m_laidOut) {
        m_layout.place(counts);
        m_laidOut.swap(counts);
    }
    for (auto& [name, entry] : m_entries) {
        refreshLayers(name, entry);
        const SDCellPlacement& placement = *m_layout.find(name);
        if (!samePlacement(entry.source, placement) || entry.layered != !entry.layers.empty()) {
            entry.placed = false;
            entry.failed = false;
        }
    }
}

bool VCCellView::setCellLook(const std::string& name, CellLook look) {
    updateLayout();
    if (name == SDCellLayout::kLifeName || m_laidOut.count(name) == 0) {
        return false;
    }
    if (look == CellLook::Auto) {
        m_looks.erase(name);
    } else {
        m_looks[name] = look;
    }
    // Another edge is another placement: the layout and the batches follow.
    updateLayout();
    return true;
}

VCCellView::CellLook VCCellView::getCellLook(const std::string& name) const {
    auto found = m_looks.find(name);
    return found == m_looks.end() ? CellLook::Auto : found->second;
}

bool VCCellView::isSolid(const std::string& name) const {
    const SDCellPlacement* placement = m_layout.find(name);
    return placement != nullptr && name != SDCellLayout::kLifeName &&
           placement->getCubeEdge() != SDCellPlacement::kCubeEdge;
}

bool VCCellView::drawsFlat(const std::string& name, const Entry& entry, const SDCellPlacement& placement) {
    return name != SDCellLayout::kLifeName && (!entry.layers.empty() || placement.getLength() == 1);
}

void VCCellView::refreshLayers(const std::string& name, Entry& entry) {
    const SDCellPlacement* placement = m_layout.find(name);
    auto layered = m_layered.find(name);
    if (placement == nullptr || layered == m_layered.end() || placement->getLength() < 2) {
        entry.layers.clear();
        entry.layerColumns = 0;
        return;
    }
    unsigned columns = m_laidOut[name].layerColumns;
    if (columns == 0) {
        columns = SDCellLayers::columnsFor(*placement, layered->second);
    }
    if (entry.layers.empty() || !samePlacement(entry.layersOf, *placement) || columns != entry.layerColumns) {
        entry.layers = SDCellLayers::split(*placement, columns);
        entry.layersOf = *placement;
        entry.layerColumns = columns;
        // Other places for the same layers: the batches are built again.
        entry.placed = false;
        entry.failed = false;
    }
}

bool VCCellView::setLayers(const std::string& name, bool on, float aspect) {
    updateLayout();
    unsigned counts[3];
    if (!getCounts(name, counts) || counts[2] < 2) {
        return false;
    }
    if (on) {
        m_layered[name] = aspect;
    } else {
        m_layered.erase(name);
    }
    updateLayout();
    return true;
}

bool VCCellView::cellCentre(const std::string& name, unsigned x, unsigned y, unsigned z,
                            Vector3& centre) const {
    const SDCellPlacement* placement = m_layout.find(name);
    if (placement == nullptr || x >= placement->getWidth() || y >= placement->getHeight() ||
        z >= placement->getLength()) {
        return false;
    }
    auto found = m_entries.find(name);
    if (found != m_entries.end() && z < found->second.layers.size()) {
        centre = found->second.layers[z].cellCentre(x, y, 0);
    } else {
        centre = placement->cellCentre(x, y, z);
    }
    return true;
}

BoundingBox VCCellView::drawnBounds(const std::string& name, const SDCellPlacement& placement) const {
    auto found = m_entries.find(name);
    if (found == m_entries.end() || found->second.layers.empty()) {
        return placement.bounds();
    }
    const std::vector<SDCellPlacement>& layers = found->second.layers;
    Vector3 low = layers.front().bounds().getMin();
    Vector3 high = layers.front().bounds().getMax();
    for (const SDCellPlacement& layer : layers) {
        const BoundingBox box = layer.bounds();
        low = Vector3(std::min(low.x, box.getMin().x), std::min(low.y, box.getMin().y),
                      std::min(low.z, box.getMin().z));
        high = Vector3(std::max(high.x, box.getMax().x), std::max(high.y, box.getMax().y),
                       std::max(high.z, box.getMax().z));
    }
    BoundingBox bounds;
    bounds.setMinMax(low, high);
    return bounds;
}

void VCCellView::render(Frustum* frustum) {
    updateLayout();
    m_changeFrames.clear();
    m_framed = 0;
    for (auto& [name, entry] : m_entries) {
        const SDCellPlacement* placement = m_layout.find(name);
        if (placement == nullptr) {
            continue;
        }
        if (!entry.placed) {
            // What was tried, so that a failure is not retried (nor reported again) until it changes.
            entry.layered = !entry.layers.empty();
            entry.source = *placement;
            if (entry.failed) {
                continue;
            }
            if (placement->cellCount() > SDCellBatch::kMaxCells) {
                logMessage("Unable to draw %s: %zu cells, more than the %zu the view draws of one model",
                           name.c_str(), placement->cellCount(), SDCellBatch::kMaxCells);
                entry.failed = true;
                continue;
            }
            entry.batches.resize(entry.layered ? entry.layers.size() : 1);
            // A map (a single layer, or a laid-out one) is drawn as flat squares: seen head-on, the side
            // faces of cubes in perspective would only blur its cells' edges. Life keeps its cubes.
            const bool flat = drawsFlat(name, entry, *placement);
            bool built = true;
            for (size_t i = 0; i < entry.batches.size() && built; ++i) {
                if (entry.batches[i] == nullptr) {
                    entry.batches[i] = std::make_unique<SDCellBatch>();
                }
                built = entry.batches[i]->build(entry.layered ? entry.layers[i] : *placement);
                entry.batches[i]->setFlat(flat);
            }
            if (!built) {
                entry.failed = true;
                continue;
            }
            entry.placed = true;
            entry.recolourAll = true;
        }
        recolour(name, entry);
        // Blocks of several layers are shaded by face, so their shape reads; life keeps its flat look, and
        // a single layer, seen head-on (laid-out layers too), keeps the legend's colours exactly.
        const SDCellLayout::Counts& counts = m_laidOut[name];
        const bool shaded = name != SDCellLayout::kLifeName && counts.length > 1 && !entry.layered;
        for (const std::unique_ptr<SDCellBatch>& batch : entry.batches) {
            batch->setShaded(shaded);
            batch->setOutlined(m_outlined);
            if (frustum != nullptr && frustum->classifyBox(batch->getPlacement().bounds()) == 2) {
                continue;
            }
            batch->draw();
            // Where cells of a block of several layers are left out, a box marks its extent.
            if (counts.length > 1 && batch->getShownCount() < batch->getCellCount()) {
                SDOutlineBox::draw(batch->getPlacement().bounds());
            }
        }
        if (m_changesShown && m_cursor != nullptr) {
            addChangeFrames(name, entry);
        }
    }
    if (m_framed > 0) {
        m_changeFrames.draw();
    }
}

void VCCellView::addChangeFrames(const std::string& name, Entry& entry) {
    if (!entry.placed) {
        return;
    }
    SDCELLDevsModel& model = *entry.model;
    m_cursor->cellsChangedNow(&model.getValues(), m_changed);
    if (m_changed.empty()) {
        return;
    }
    const SDCellPlacement& placement = entry.source;
    const Slice* slice = findSlice(name);
    const CellColours colourOf(model, model.getValues(), slice != nullptr ? slice->axis : -1,
                               slice != nullptr ? slice->layer : 0);
    // A little off the cube, so that its faces do not cover the frame; inside the gap to its neighbours.
    const float half = placement.getCubeEdge() / 2.0f * 1.15f;
    const size_t height = placement.getHeight();
    const size_t length = placement.getLength();
    for (uint32_t cell : m_changed) {
        Vector3 centre;
        if (cell >= placement.cellCount() || colourOf(cell).a == 0 ||
            !cellCentre(name, static_cast<unsigned>(cell / length / height),
                        static_cast<unsigned>(cell / length % height), static_cast<unsigned>(cell % length),
                        centre)) {
            continue;
        }
        BoundingBox box;
        box.setMinMax(centre - Vector3(half, half, half), centre + Vector3(half, half, half));
        m_changeFrames.addFrame(box, kChangeColour, false);
        ++m_framed;
    }
    // The colours' own list of changes is taken by the next recolouring, not here.
    m_changed.clear();
}

void VCCellView::recolour(const std::string& name, Entry& entry) {
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
    const SDColourScale scale = VCColourRange::of(model).scale;
    const bool hasRange = scale.hasRange;
    const double minimum = scale.minimum;
    const double maximum = scale.maximum;
    if (hasRange != entry.hadRange || (hasRange && (minimum != entry.minimum || maximum != entry.maximum))) {
        entry.hadRange = hasRange;
        entry.minimum = minimum;
        entry.maximum = maximum;
        all = true;
    }
    // Another background hidden (or none) changes which cells are left out, wherever they are.
    SDCellValues::Background background;
    const bool hidesBackground = backgroundToHide(name, model, background);
    if (hidesBackground != entry.hadBackground ||
        (hidesBackground &&
         (background.noValue != entry.background.noValue || background.value != entry.background.value))) {
        entry.hadBackground = hidesBackground;
        entry.background = background;
        all = true;
    }
    all = all || entry.recolourAll;
    if (!all && m_changed.empty()) {
        return;
    }
    for (const std::unique_ptr<SDCellBatch>& batch : entry.batches) {
        if (!batch->beginUpdate(all)) {
            for (const std::unique_ptr<SDCellBatch>& begun : entry.batches) {
                begun->endUpdate();
            }
            return;
        }
    }
    // Cell (x, y, z) of a laid-out block is cell (x, y, 0) of layer z.
    const size_t layers = entry.layered ? entry.batches.size() : 1;
    auto setCell = [&](size_t cell, SDCellBatch::Rgba8 colour) {
        entry.batches[cell % layers]->setCell(cell / layers, colour);
    };
    const Slice* slice = findSlice(name);
    const CellColours colourOf(model, values, slice != nullptr ? slice->axis : -1,
                               slice != nullptr ? slice->layer : 0, hidesBackground ? &background : nullptr);
    const size_t cells = entry.source.cellCount();
    if (all) {
        for (size_t cell = 0; cell < cells; ++cell) {
            setCell(cell, colourOf(cell));
        }
    } else {
        for (uint32_t cell : m_changed) {
            if (cell < cells) {
                setCell(cell, colourOf(cell));
            }
        }
    }
    for (const std::unique_ptr<SDCellBatch>& batch : entry.batches) {
        batch->endUpdate();
    }
    entry.recolourAll = false;
}

bool VCCellView::isCellShown(const std::string& name, size_t cell) {
    auto found = m_entries.find(name);
    const SDCellPlacement* placement = m_layout.find(name);
    if (found == m_entries.end() || placement == nullptr || cell >= placement->cellCount()) {
        return false;
    }
    SDCELLDevsModel& model = *found->second.model;
    const Slice* slice = findSlice(name);
    SDCellValues::Background background;
    const bool hides = backgroundToHide(name, model, background);
    return CellColours(model, model.getValues(), slice != nullptr ? slice->axis : -1,
                       slice != nullptr ? slice->layer : 0, hides ? &background : nullptr)(cell)
               .a != 0;
}

bool VCCellView::backgroundToHide(const std::string& name, SDCELLDevsModel& model,
                                  SDCellValues::Background& background) const {
    return model.getLength() > 1 && !isBackgroundShown(name) && model.getValues().background(background);
}

bool VCCellView::setBackgroundShown(const std::string& name, bool shown) {
    auto found = m_entries.find(name);
    if (found == m_entries.end() || found->second.model->getLength() < 2) {
        return false;
    }
    if (shown) {
        m_backgroundShown.insert(name);
    } else {
        m_backgroundShown.erase(name);
    }
    return true;
}

std::string VCCellView::backgroundReport(const std::string& name) const {
    auto found = m_entries.find(name);
    if (found == m_entries.end()) {
        return "";
    }
    SDCELLDevsModel& model = *found->second.model;
    const bool shown = isBackgroundShown(name);
    SDCellValues::Background background;
    if (!model.getValues().background(background)) {
        return name + ": the background is " + (shown ? "drawn" : "hidden") +
               "; no value is held by half of its cells or more now";
    }
    const std::string what = "the background " +
                             (background.noValue ? std::string("no value") : numberText(background.value)) +
                             " (" + std::to_string(background.count) + " of " +
                             std::to_string(model.getValues().size()) + " cells)";
    if (shown) {
        return name + ": " + what + " is drawn";
    }
    SDCellLook::Colour colour;
    if (CellColours(model, model.getValues()).userColour(background, colour) && colour[3] > 0.0f) {
        return name + ": " + what + " is drawn: a colour of yours colours it";
    }
    return name + ": " + what + " is hidden";
}

bool VCCellView::getCounts(const std::string& name, unsigned counts[3]) const {
    auto found = m_laidOut.find(name);
    if (found == m_laidOut.end()) {
        return false;
    }
    counts[0] = found->second.width;
    counts[1] = found->second.height;
    counts[2] = found->second.length;
    return true;
}

bool VCCellView::setSlice(const std::string& name, int axis, unsigned layer) {
    unsigned counts[3];
    if (axis < 0 || axis > 2 || !getCounts(name, counts) || layer >= counts[axis]) {
        return false;
    }
    m_slices[name] = Slice{axis, layer};
    m_entries[name].recolourAll = true;
    return true;
}

void VCCellView::clearSlice(const std::string& name) {
    if (m_slices.erase(name) != 0) {
        auto found = m_entries.find(name);
        if (found != m_entries.end()) {
            found->second.recolourAll = true;
        }
    }
}

bool VCCellView::getSlice(const std::string& name, int& axis, unsigned& layer) const {
    const Slice* slice = findSlice(name);
    if (slice == nullptr) {
        return false;
    }
    axis = slice->axis;
    layer = slice->layer;
    return true;
}

bool VCCellView::stepSlice(const std::string& name, int step) {
    unsigned counts[3];
    if (!getCounts(name, counts)) {
        return false;
    }
    const Slice* slice = findSlice(name);
    if (slice == nullptr) {
        if (counts[2] < 2) {
            return false;
        }
        return setSlice(name, 2, step > 0 ? 0u : counts[2] - 1);
    }
    const long moved = static_cast<long>(slice->layer) + step;
    const long last = static_cast<long>(counts[slice->axis]) - 1;
    return setSlice(name, slice->axis, static_cast<unsigned>(std::clamp(moved, 0L, last)));
}

std::string VCCellView::describeSlice(const std::string& name) const {
    unsigned counts[3];
    const Slice* slice = findSlice(name);
    if (slice == nullptr || !getCounts(name, counts)) {
        return "";
    }
    static const char* const kAxes[3] = {"x", "y", "z"};
    const long long first = originOf(name)[slice->axis];
    return std::string(kAxes[slice->axis]) + " = " + std::to_string(first + slice->layer) + " of " +
           std::to_string(first) + ".." + std::to_string(first + counts[slice->axis] - 1);
}

std::array<int, 3> VCCellView::originOf(const std::string& name) const {
    const auto* model =
        m_models != nullptr ? dynamic_cast<const SDCELLDevsModel*>(m_models->findModel(name)) : nullptr;
    return model != nullptr ? model->getOrigin() : std::array<int, 3>{};
}

std::string VCCellView::sliceReport(const std::string& name) const {
    unsigned counts[3];
    if (!getCounts(name, counts)) {
        return "";
    }
    const size_t all = static_cast<size_t>(counts[0]) * counts[1] * counts[2];
    const Slice* slice = findSlice(name);
    if (slice == nullptr) {
        return name + " drawn whole: " + std::to_string(all) + " cells";
    }
    const size_t shown = all / counts[slice->axis];
    return name + " sliced at " + describeSlice(name).substr(0, describeSlice(name).find(" of")) + ": " +
           std::to_string(shown) + " of its " + std::to_string(all) + " cells";
}

std::string VCCellView::onlyBlockOfLayers() const {
    std::string found;
    for (const auto& [name, counts] : m_laidOut) {
        if (counts.length > 1) {
            if (!found.empty()) {
                return "";
            }
            found = name;
        }
    }
    return found;
}

const VCCellView::Slice* VCCellView::findSlice(const std::string& name) const {
    auto found = m_slices.find(name);
    return found == m_slices.end() ? nullptr : &found->second;
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
        for (const SDCellPlacement& layer : entry.layers) {
            model.layers.push_back(&layer);
        }
        model.layerColumns = entry.layers.empty() ? 0 : entry.layerColumns;
        model.flat = drawsFlat(name, entry, *placement);
        model.origin = originOf(name);
        model.bounds = drawnBounds(name, *placement);
        const VCColourRange::InUse range = VCColourRange::of(*entry.model);
        model.hasRange = range.scale.hasRange;
        model.minimum = range.scale.minimum;
        model.maximum = range.scale.maximum;
        model.scale = range.scale;
        model.belowRange = range.below;
        model.aboveRange = range.above;
        model.notPositive = range.notPositive;
        if (const Slice* slice = findSlice(name)) {
            model.sliceAxis = slice->axis;
            model.sliceLayer = slice->layer;
        }
        SDCellValues::Background background;
        const bool hides = backgroundToHide(name, *entry.model, background);
        describeLegend(*entry.model, model, hides ? &background : nullptr);
        drawn.push_back(model);
    }
    return drawn;
}

bool VCCellView::drawsRowsDown() const {
    for (const auto& [name, placement] : m_layout.getPlacements()) {
        if (!placement.empty() && placement.getFrame() == SDCellPlacement::Frame::RowsDown) {
            return true;
        }
    }
    return false;
}

bool VCCellView::getBounds(BoundingBox& bounds) const {
    bool any = false;
    Vector3 low;
    Vector3 high;
    for (const auto& [name, placement] : m_layout.getPlacements()) {
        if (placement.empty()) {
            continue;
        }
        const BoundingBox box = drawnBounds(name, placement);
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

size_t VCCellView::getShownCount(const std::string& name) const {
    auto found = m_entries.find(name);
    if (found == m_entries.end() || !found->second.placed) {
        return 0;
    }
    size_t shown = 0;
    for (const std::unique_ptr<SDCellBatch>& batch : found->second.batches) {
        shown += batch->getShownCount();
    }
    return shown;
}

size_t VCCellView::getBufferBytes() const {
    size_t bytes = 0;
    for (const auto& [name, entry] : m_entries) {
        for (const std::unique_ptr<SDCellBatch>& batch : entry.batches) {
            bytes += batch->getBufferBytes();
        }
    }
    return bytes;
}
