#include "simdata/SDCellValues.h"

#include <algorithm>
#include <cmath>

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
    m_changed.clear();
    m_allChanged = true;
}

void SDCellValues::set(size_t cell, double value, uint32_t timeIndex) {
    if (cell >= m_values.size()) {
        return;
    }
    m_values[cell] = value;
    m_times[cell] = timeIndex;
    changed(cell);
}

void SDCellValues::clear(size_t cell) {
    if (cell >= m_values.size() || m_times[cell] == kNoTime) {
        return;
    }
    m_times[cell] = kNoTime;
    changed(cell);
}

void SDCellValues::clearAll() {
    m_times.assign(m_times.size(), kNoTime);
    m_changed.clear();
    m_allChanged = true;
}

void SDCellValues::restore(const double* values, const uint32_t* timeIndices) {
    std::copy(values, values + m_values.size(), m_values.begin());
    std::copy(timeIndices, timeIndices + m_times.size(), m_times.begin());
    m_changed.clear();
    m_allChanged = true;
}

bool SDCellValues::range(double& minimum, double& maximum) const {
    if (!m_hasRange) {
        return false;
    }
    minimum = m_minimum;
    maximum = m_maximum;
    return true;
}

void SDCellValues::widenRange(double value) {
    if (!std::isfinite(value)) {
        return;
    }
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

void SDCellValues::resetRange() {
    if (m_hasRange) {
        m_hasRange = false;
        m_changed.clear();
        m_allChanged = true;
    }
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
