#include "scene/SDColourScale.h"

#include <algorithm>
#include <cmath>

bool SDColourScale::centred() const {
    return map == SDColourRamp::Map::Coolwarm && !log && hasRange && minimum < 0.0 && maximum > 0.0;
}

double SDColourScale::heightOf(double value) const {
    if (!hasRange) {
        return 0.5;
    }
    if (log && (!(minimum > 0.0) || !(value > 0.0))) {
        return 0.0;
    }
    if (!(maximum > minimum)) {
        return 0.5;
    }
    if (log) {
        return std::clamp(std::log10(value / minimum) / std::log10(maximum / minimum), 0.0, 1.0);
    }
    return std::clamp(SDColourRamp::position(value, minimum, maximum), 0.0, 1.0);
}

double SDColourScale::valueAt(double t) const {
    if (log && minimum > 0.0 && maximum > minimum) {
        return minimum * std::pow(maximum / minimum, t);
    }
    return minimum + (maximum - minimum) * t;
}

double SDColourScale::position(double value) const {
    if (!hasRange || std::isnan(value)) {
        return 0.5;
    }
    if (!centred()) {
        return heightOf(value);
    }
    // The wider side reaches its end colour; the narrower stops short of it.
    const double reach = std::max(-minimum, maximum);
    const double clamped = std::clamp(value, minimum, maximum);
    return std::clamp(0.5 + 0.5 * clamped / reach, 0.0, 1.0);
}
