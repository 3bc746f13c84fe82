#include "scene/SDNiceNumbers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// A step m x 10^e, kept apart so that its multiples come out as the nearest doubles to the round numbers
// (3 x 0.1 is 0.30000000000000004; 3 / 10 is 0.3).
struct Step {
    double mantissa = 1.0;
    int exponent = 0;

    double multiple(double k) const {
        const double scaled = k * mantissa;
        return exponent >= 0 ? scaled * std::pow(10.0, exponent) : scaled / std::pow(10.0, -exponent);
    }
    // How many steps `value` is, in steps.
    double units(double value) const {
        const double scaled =
            exponent >= 0 ? value / std::pow(10.0, exponent) : value * std::pow(10.0, -exponent);
        return scaled / mantissa;
    }
};

constexpr double kMantissas[] = {1.0, 2.0, 2.5, 5.0};
// A value this close to a multiple (in steps) is on it: what the decimal reading left over.
constexpr double kSlack = 1e-9;

// The largest step not above `most` (> 0, finite).
Step stepAtMost(double most) {
    Step step;
    step.exponent = static_cast<int>(std::floor(std::log10(most)));
    for (double mantissa : kMantissas) {
        Step candidate{mantissa, step.exponent};
        if (candidate.multiple(1.0) <= most * (1.0 + kSlack)) {
            step = candidate;
        }
    }
    return step;
}

std::vector<double> multiplesWithin(const Step& step, double low, double high) {
    std::vector<double> values;
    const double first = std::ceil(step.units(low) - kSlack);
    const double last = std::floor(step.units(high) + kSlack);
    for (double k = first; k <= last && values.size() < 64; ++k) {
        values.push_back(step.multiple(k));
    }
    return values;
}

// The candidate whose count lies in 5 .. 7, or else nearest to it (the fewer on a tie).
std::vector<double> best(const std::vector<std::vector<double>>& candidates) {
    auto distance = [](size_t count) { return count < 5 ? 5 - count : (count > 7 ? count - 7 : 0); };
    const std::vector<double>* chosen = nullptr;
    for (const std::vector<double>& candidate : candidates) {
        if (chosen == nullptr || distance(candidate.size()) < distance(chosen->size()) ||
            (distance(candidate.size()) == distance(chosen->size()) && candidate.size() < chosen->size())) {
            chosen = &candidate;
        }
    }
    return chosen != nullptr ? *chosen : std::vector<double>{};
}

// The largest of 1, 2, 5 x 10^k not above `value` (down) or the smallest not below it (up); value > 0.
double decadeNumber(double value, bool up) {
    const int exponent = static_cast<int>(std::floor(std::log10(value)));
    const double mantissas[] = {1.0, 2.0, 5.0, 10.0};
    double chosen = up ? Step{10.0, exponent}.multiple(1.0) : Step{1.0, exponent}.multiple(1.0);
    for (double mantissa : mantissas) {
        const double number = Step{mantissa, exponent}.multiple(1.0);
        if (!up && number <= value * (1.0 + kSlack)) {
            chosen = number;
        }
        if (up && number >= value * (1.0 - kSlack)) {
            return number;
        }
    }
    return chosen;
}

}  // namespace

void SDNiceNumbers::roundOutwards(double& low, double& high, double minimum, double maximum) {
    const double span = high - low;
    if (!(span > 0.0) || !std::isfinite(span)) {
        return;
    }
    const Step step = stepAtMost(span / 10.0);
    low = std::max(step.multiple(std::floor(step.units(low) + kSlack)), minimum);
    high = std::min(step.multiple(std::ceil(step.units(high) - kSlack)), maximum);
}

void SDNiceNumbers::roundOutwardsLog(double& low, double& high, double minimum, double maximum) {
    if (!(low > 0.0) || !(high > low) || !std::isfinite(high)) {
        return;
    }
    low = std::max(decadeNumber(low, false), minimum);
    high = std::min(decadeNumber(high, true), maximum);
}

std::vector<double> SDNiceNumbers::ticks(double low, double high) {
    const double span = high - low;
    if (!(span > 0.0) || !std::isfinite(span)) {
        return {};
    }
    // From steps of about a twentieth of the span to about half of it.
    std::vector<std::vector<double>> candidates;
    const int top = static_cast<int>(std::floor(std::log10(span)));
    for (int exponent = top - 2; exponent <= top; ++exponent) {
        for (double mantissa : kMantissas) {
            candidates.push_back(multiplesWithin(Step{mantissa, exponent}, low, high));
        }
    }
    return best(candidates);
}

std::vector<double> SDNiceNumbers::logTicks(double low, double high) {
    if (!(low > 0.0) || !(high > low) || !std::isfinite(high)) {
        return {};
    }
    const std::vector<std::vector<double>> sets = {
        {1.0}, {1.0, 3.0}, {1.0, 2.0, 5.0}, {1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0}};
    std::vector<std::vector<double>> candidates;
    const int first = static_cast<int>(std::floor(std::log10(low)));
    const int last = static_cast<int>(std::floor(std::log10(high)));
    for (const std::vector<double>& set : sets) {
        std::vector<double> values;
        for (int exponent = first; exponent <= last && values.size() < 64; ++exponent) {
            for (double mantissa : set) {
                const double value = Step{mantissa, exponent}.multiple(1.0);
                if (value >= low * (1.0 - kSlack) && value <= high * (1.0 + kSlack)) {
                    values.push_back(value);
                }
            }
        }
        // Many decades: every n-th power of ten, for 7 at most.
        if (values.size() > 7 && set.size() == 1) {
            const size_t stride = (values.size() + 6) / 7;
            std::vector<double> thinned;
            for (size_t i = 0; i < values.size(); i += stride) {
                thinned.push_back(values[i]);
            }
            values.swap(thinned);
        }
        candidates.push_back(values);
    }
    std::vector<double> chosen = best(candidates);
    return chosen.size() < 2 ? ticks(low, high) : chosen;
}
