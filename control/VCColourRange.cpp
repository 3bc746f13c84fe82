#include "control/VCColourRange.h"

#include <vector>

#include "scene/SDNiceNumbers.h"
#include "shell/LogFormat.h"
#include "simdata/SDCELLDevsModel.h"

namespace {

const char* kindName(SDCellLook::Range range) {
    switch (range) {
        case SDCellLook::Range::Log:
            return "all";
        case SDCellLook::Range::Now:
            return "now";
        case SDCellLook::Range::Fixed:
            return "fixed";
        default:
            return "robust";
    }
}

// A run that has settled holds values of now that differ by a sliver of the run's range, and would show
// them in one colour. When they span less than an eighth of it, the range follows them (rounded out) so
// that the differences still read; when they are all equal there is nothing to show and the range stays.
bool settle(const SDCellValues& values, SDColourScale& scale) {
    double low = 0.0;
    double high = 0.0;
    if (!values.currentRange(low, high) || !(high > low) || !(scale.maximum > scale.minimum)) {
        return false;
    }
    if ((high - low) * 8.0 >= scale.maximum - scale.minimum) {
        return false;
    }
    SDNiceNumbers::roundOutwards(low, high, low - (high - low), high + (high - low));
    scale.minimum = low;
    scale.maximum = high;
    return true;
}

}  // namespace

VCColourRange::InUse VCColourRange::of(SDCELLDevsModel& model) {
    InUse use;
    const SDCellValues& values = model.getValues();
    const SDCellLook* look = model.findLook();
    const SDCellLook::Range kind = look != nullptr ? look->getRange() : SDCellLook::Range::Robust;
    const bool log = look != nullptr && look->isLogScale();
    SDColourScale& scale = use.scale;
    scale.log = log;
    // What the range is compared with to tell values outside it.
    double lowest = 0.0;
    double highest = 0.0;
    const bool any =
        kind == SDCellLook::Range::Now ? values.currentRange(lowest, highest) : values.range(lowest, highest);
    std::vector<double> few;
    switch (kind) {
        case SDCellLook::Range::Now:
            scale.hasRange = any;
            scale.minimum = lowest;
            scale.maximum = highest;
            if (log && any && !(lowest > 0.0)) {
                scale.hasRange = values.currentPositiveMinimum(scale.minimum);
            }
            break;
        case SDCellLook::Range::Fixed:
            scale.hasRange = true;
            scale.minimum = look->getFixedLow();
            scale.maximum = look->getFixedHigh();
            if (log && !(scale.minimum > 0.0)) {
                double high = 0.0;
                scale.hasRange =
                    values.positiveRange(scale.minimum, high, false) && scale.minimum < scale.maximum;
            }
            break;
        case SDCellLook::Range::Log:
            scale.hasRange = log ? values.positiveRange(scale.minimum, scale.maximum, false)
                                 : values.range(scale.minimum, scale.maximum);
            break;
        default:
            if (values.distinctValues(few)) {
                scale.hasRange = log ? values.positiveRange(scale.minimum, scale.maximum, false)
                                     : values.range(scale.minimum, scale.maximum);
            } else {
                scale.hasRange = log ? values.positiveRange(scale.minimum, scale.maximum, true)
                                     : values.robustRange(scale.minimum, scale.maximum);
                use.settled = !log && scale.hasRange && settle(values, scale);
                if (use.settled) {
                    values.currentRange(lowest, highest);
                }
            }
            break;
    }
    // A log scale with no value above 0: every value takes the low colour.
    if (log && !scale.hasRange && any) {
        scale.hasRange = true;
        scale.minimum = scale.maximum = 0.0;
    }
    if (look != nullptr && look->isMapChosen()) {
        scale.map = look->getMap();
    } else {
        const bool diverging = !log && scale.hasRange && scale.minimum < 0.0 && scale.maximum > 0.0;
        scale.map = diverging ? SDColourRamp::Map::Coolwarm : SDColourRamp::Map::Inferno;
    }
    if (any && scale.hasRange) {
        use.notPositive = log && !(lowest > 0.0);
        use.below = lowest < scale.minimum && !(log && !(scale.minimum > 0.0));
        use.above = highest > scale.maximum;
    }
    return use;
}

std::string VCColourRange::describe(const std::string& name, SDCELLDevsModel& model) {
    const SDCellLook* look = model.findLook();
    const InUse use = of(model);
    const char* kind =
        use.settled ? "settled" : kindName(look != nullptr ? look->getRange() : SDCellLook::Range::Robust);
    if (!use.scale.hasRange) {
        return "Colour range of " + name + ": no value yet (" + kind + ")";
    }
    return "Colour range of " + name + ": " + numberText(use.scale.minimum) + " .. " +
           numberText(use.scale.maximum) + " (" + kind + ")";
}
