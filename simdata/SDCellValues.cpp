#include "simdata/SDCellValues.h"

#include <algorithm>
#include <cmath>

#include "scene/SDNiceNumbers.h"
#include "simdata/SDInitialValues.h"

void SDCellValues::resize(unsigned width, unsigned height, unsigned length) {
    if (width == m_width && height == m_height && length == m_length) {
        return;
    }
    const size_t total = static_cast<size_t>(width) * height * length;
    std::vector<double> values(total, 0.0);
    std::vector<uint32_t> times(total, kNoTime);
    for (unsigned x = 0; x < m_width && x < width; ++x) {
        for (unsigned y = 0; y < m_height && y < height; ++y) {
            for (unsigned z = 0; z < m_length && z < length; ++z) {
                const size_t from = (static_cast<size_t>(x) * m_height + y) * m_length + z;
                const size_t to = (static_cast<size_t>(x) * height + y) * length + z;
                values[to] = m_values[from];
                times[to] = m_times[from];
            }
        }
    }
    m_values.swap(values);
    m_times.swap(times);
    m_width = width;
    m_height = height;
    m_length = length;
    takeInitialAll();
    m_changed.clear();
    m_allChanged = true;
    m_currentKnown = false;
    m_backgroundKnown = false;
}

void SDCellValues::set(size_t cell, double value, uint32_t timeIndex) {
    if (cell >= m_values.size()) {
        return;
    }
    leaveBackground(cell);
    m_values[cell] = value;
    m_times[cell] = timeIndex;
    joinBackground(cell);
    changed(cell);
}

void SDCellValues::clear(size_t cell) {
    if (cell >= m_values.size() || m_times[cell] == kNoTime) {
        return;
    }
    leaveBackground(cell);
    m_times[cell] = kNoTime;
    takeInitial(cell);
    joinBackground(cell);
    changed(cell);
}

void SDCellValues::takeInitial(size_t cell) {
    if (m_initial == nullptr || m_times[cell] != kNoTime) {
        return;
    }
    const size_t plane = static_cast<size_t>(m_height) * m_length;
    const auto x = static_cast<unsigned>(cell / plane);
    const auto y = static_cast<unsigned>(cell % plane / m_length);
    const auto z = static_cast<unsigned>(cell % m_length);
    double value = 0.0;
    if (m_initial->at(x, y, z, value)) {
        m_values[cell] = value;
        m_times[cell] = kInitialTime;
    }
}

void SDCellValues::takeInitialAll() {
    if (m_initial == nullptr) {
        return;
    }
    size_t cell = 0;
    double value = 0.0;
    for (unsigned x = 0; x < m_width; ++x) {
        for (unsigned y = 0; y < m_height; ++y) {
            for (unsigned z = 0; z < m_length; ++z, ++cell) {
                if (m_times[cell] == kNoTime && m_initial->at(x, y, z, value)) {
                    m_values[cell] = value;
                    m_times[cell] = kInitialTime;
                }
            }
        }
    }
}

void SDCellValues::clearAll() {
    m_times.assign(m_times.size(), kNoTime);
    takeInitialAll();
    m_changed.clear();
    m_allChanged = true;
    m_currentKnown = false;
    m_backgroundKnown = false;
}

void SDCellValues::restore(const double* values, const uint32_t* timeIndices) {
    std::copy(values, values + m_values.size(), m_values.begin());
    std::copy(timeIndices, timeIndices + m_times.size(), m_times.begin());
    takeInitialAll();
    m_changed.clear();
    m_allChanged = true;
    m_currentKnown = false;
    m_backgroundKnown = false;
}

bool SDCellValues::range(double& minimum, double& maximum) const {
    if (!m_hasRange) {
        return false;
    }
    minimum = m_minimum;
    maximum = m_maximum;
    return true;
}

void SDCellValues::widenRange(double value, size_t count) {
    if (!std::isfinite(value)) {
        return;
    }
    if (m_discrete) {
        noteDistinct(value);
    }
    m_spread.insert(m_spread.end(), count, value);
    m_spreadKnown = false;
    if (!m_hasRange) {
        m_minimum = m_maximum = value;
        m_hasRange = true;
    } else if (value < m_minimum) {
        m_minimum = value;
    } else if (value > m_maximum) {
        m_maximum = value;
    } else {
        return;
    }
    // A new range changes what every colour means.
    m_changed.clear();
    m_allChanged = true;
}

void SDCellValues::noteDistinct(double value) {
    if (value != std::floor(value)) {
        m_discrete = false;
        std::vector<double>().swap(m_distinct);
        return;
    }
    const auto at = std::lower_bound(m_distinct.begin(), m_distinct.end(), value);
    if (at != m_distinct.end() && *at == value) {
        return;
    }
    if (m_distinct.size() == kMaxDistinct) {
        m_discrete = false;
        std::vector<double>().swap(m_distinct);
        return;
    }
    m_distinct.insert(at, value);
}

void SDCellValues::resetRange() {
    std::vector<double>().swap(m_spread);
    m_spreadKnown = false;
    m_distinct.clear();
    m_discrete = true;
    if (m_hasRange) {
        m_hasRange = false;
        m_changed.clear();
        m_allChanged = true;
    }
}

bool SDCellValues::distinctValues(std::vector<double>& values) const {
    if (!m_discrete || m_distinct.empty()) {
        return false;
    }
    values = m_distinct;
    return true;
}

namespace {

// The k-th smallest (0-based) of values[from ..]; reorders them.
double smallest(std::vector<double>& values, size_t from, size_t k) {
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(from + k);
    std::nth_element(values.begin() + static_cast<std::ptrdiff_t>(from), at, values.end());
    return *at;
}

// The 1st and 99th percentile of values[from ..] (not empty): the k-th smallest and k-th largest.
void percentiles(std::vector<double>& values, size_t from, double& low, double& high) {
    const size_t count = values.size() - from;
    const size_t k = (count + 99) / 100 - 1;
    low = smallest(values, from, k);
    high = smallest(values, from, count - 1 - k);
}

}  // namespace

void SDCellValues::settleSpread() const {
    if (m_spreadKnown) {
        return;
    }
    m_spreadKnown = true;
    m_hasRobust = false;
    m_hasPositive = false;
    if (m_spread.empty() || !m_hasRange) {
        return;
    }
    m_hasRobust = true;
    percentiles(m_spread, 0, m_robust[0], m_robust[1]);
    const double low = m_robust[0];
    const double high = m_robust[1];
    if (m_robust[0] < m_robust[1]) {
        SDNiceNumbers::roundOutwards(m_robust[0], m_robust[1], m_minimum, m_maximum);
    } else {
        m_robust[0] = m_minimum;
        m_robust[1] = m_maximum;
    }
    const auto positive =
        std::partition(m_spread.begin(), m_spread.end(), [](double value) { return !(value > 0.0); });
    const auto from = static_cast<size_t>(positive - m_spread.begin());
    if (from == m_spread.size()) {
        return;
    }
    m_hasPositive = true;
    const auto [lowest, highest] = std::minmax_element(positive, m_spread.end());
    m_positive[0] = *lowest;
    m_positive[1] = *highest;
    if (from == 0) {
        // Every value is above 0: the same percentiles, without going through millions of values again.
        m_robustPositive[0] = low;
        m_robustPositive[1] = high;
    } else {
        percentiles(m_spread, from, m_robustPositive[0], m_robustPositive[1]);
    }
    if (m_robustPositive[0] < m_robustPositive[1]) {
        SDNiceNumbers::roundOutwardsLog(m_robustPositive[0], m_robustPositive[1], m_positive[0],
                                        m_positive[1]);
    } else {
        m_robustPositive[0] = m_positive[0];
        m_robustPositive[1] = m_positive[1];
    }
}

bool SDCellValues::robustRange(double& minimum, double& maximum) const {
    settleSpread();
    if (!m_hasRobust) {
        return range(minimum, maximum);
    }
    minimum = m_robust[0];
    maximum = m_robust[1];
    return true;
}

bool SDCellValues::positiveRange(double& minimum, double& maximum, bool robust) const {
    settleSpread();
    if (!m_hasPositive) {
        return false;
    }
    minimum = robust ? m_robustPositive[0] : m_positive[0];
    maximum = robust ? m_robustPositive[1] : m_positive[1];
    return true;
}

bool SDCellValues::currentPositiveMinimum(double& minimum) const {
    double low = 0.0;
    double high = 0.0;
    currentRange(low, high);
    if (!m_hasCurrentPositive) {
        return false;
    }
    minimum = m_currentPositive;
    return true;
}

bool SDCellValues::currentRange(double& minimum, double& maximum) const {
    if (!m_currentKnown) {
        m_currentKnown = true;
        m_hasCurrent = false;
        m_hasCurrentPositive = false;
        for (size_t cell = 0; cell < m_values.size(); ++cell) {
            const double value = m_values[cell];
            if (m_times[cell] == kNoTime || !std::isfinite(value)) {
                continue;
            }
            if (value > 0.0 && (!m_hasCurrentPositive || value < m_currentPositive)) {
                m_currentPositive = value;
                m_hasCurrentPositive = true;
            }
            if (!m_hasCurrent) {
                m_currentMinimum = m_currentMaximum = value;
                m_hasCurrent = true;
            } else {
                m_currentMinimum = std::min(m_currentMinimum, value);
                m_currentMaximum = std::max(m_currentMaximum, value);
            }
        }
    }
    if (!m_hasCurrent) {
        return false;
    }
    minimum = m_currentMinimum;
    maximum = m_currentMaximum;
    return true;
}

namespace {

// What a cell holds, as the background rule tells values apart: no value and non-finite values are one.
struct Held {
    bool noValue;
    double value;
    bool operator==(const Held& o) const { return noValue == o.noValue && (noValue || value == o.value); }
    bool before(const Held& o) const { return noValue ? !o.noValue : !o.noValue && value < o.value; }
};

}  // namespace

bool SDCellValues::holdsBackground(size_t cell) const {
    const bool none = m_times[cell] == kNoTime || !std::isfinite(m_values[cell]);
    return none ? m_background.noValue : !m_background.noValue && m_values[cell] == m_background.value;
}

void SDCellValues::leaveBackground(size_t cell) {
    if (m_backgroundKnown && m_hasBackground && holdsBackground(cell)) {
        --m_background.count;
    }
}

void SDCellValues::joinBackground(size_t cell) {
    if (!m_backgroundKnown) {
        return;
    }
    if (m_hasBackground && holdsBackground(cell)) {
        ++m_background.count;
    }
    // While one value holds more than half of the cells no other can hold half; otherwise count again.
    if (!m_hasBackground || m_background.count * 2 <= m_values.size()) {
        m_backgroundKnown = false;
    }
}

bool SDCellValues::background(Background& background) const {
    const size_t cells = m_values.size();
    if (!m_backgroundKnown) {
        m_backgroundKnown = true;
        m_hasBackground = false;
        if (cells == 0) {
            return false;
        }
        auto held = [this](size_t cell) {
            const bool none = m_times[cell] == kNoTime || !std::isfinite(m_values[cell]);
            return Held{none, none ? 0.0 : m_values[cell]};
        };
        // A value held by at least half of the cells is the first cell's, or it holds more than half of
        // the others: the majority vote over them finds it. Both are then counted.
        Held candidate = held(cells > 1 ? 1 : 0);
        size_t votes = 0;
        for (size_t cell = 1; cell < cells; ++cell) {
            const Held here = held(cell);
            if (votes == 0) {
                candidate = here;
                votes = 1;
            } else if (here == candidate) {
                ++votes;
            } else {
                --votes;
            }
        }
        const Held first = held(0);
        size_t firstCount = 0;
        size_t candidateCount = 0;
        for (size_t cell = 0; cell < cells; ++cell) {
            const Held here = held(cell);
            firstCount += here == first ? 1 : 0;
            candidateCount += here == candidate ? 1 : 0;
        }
        const bool firstHalf = firstCount * 2 >= cells;
        const bool candidateHalf = candidateCount * 2 >= cells && !(candidate == first);
        if (firstHalf || candidateHalf) {
            const bool takeFirst = firstHalf && (!candidateHalf || first.before(candidate));
            const Held chosen = takeFirst ? first : candidate;
            m_hasBackground = true;
            m_background = Background{chosen.noValue, chosen.value, takeFirst ? firstCount : candidateCount};
        }
    }
    if (m_hasBackground) {
        background = m_background;
    }
    return m_hasBackground;
}

void SDCellValues::takeChanges(std::vector<uint32_t>& cells, bool& all) {
    all = m_allChanged;
    cells.clear();
    if (!all) {
        cells.swap(m_changed);
    }
    m_changed.clear();
    m_allChanged = false;
}

void SDCellValues::changed(size_t cell) {
    m_currentKnown = false;
    if (m_allChanged) {
        return;
    }
    // Past a quarter of the cells a full refresh is cheaper than the list.
    if (m_changed.size() >= m_values.size() / 4) {
        m_changed.clear();
        m_allChanged = true;
        return;
    }
    m_changed.push_back(static_cast<uint32_t>(cell));
}
