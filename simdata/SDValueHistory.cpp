#include "simdata/SDValueHistory.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDEventList.h"
#include "simdata/SDTimeCursor.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void reset(SDSeries& series, bool spread) {
    series.spread = spread;
    series.times.clear();
    series.values.clear();
    series.minimum.clear();
    series.maximum.clear();
}

// Appends a point, or replaces the last one when it has the same time: the later message wins.
void setAt(SDSeries& series, double time, double value) {
    if (!series.times.empty() && series.times.back() == time) {
        series.values.back() = value;
        return;
    }
    series.times.push_back(time);
    series.values.push_back(value);
}

// The finite values of a cell space with their count and sum, kept as cells change.
class Spread {
  public:
    explicit Spread(size_t cells) : m_values(cells, 0.0), m_held(cells, false) {}

    void set(size_t cell, double value) {
        if (m_held[cell]) {
            forget(m_values[cell]);
        }
        m_values[cell] = value;
        m_held[cell] = true;
        if (std::isfinite(value)) {
            ++m_counts[value];
            m_sum += value;
            ++m_finite;
        }
        // A running sum drifts as values come and go; summing afresh once as many changes as there are
        // cells have gone by keeps it exact enough at a constant cost per change.
        if (++m_changes > m_values.size() + 1024) {
            resum();
        }
    }
    bool any() const { return m_finite > 0; }
    double minimum() const { return m_counts.begin()->first; }
    double maximum() const { return m_counts.rbegin()->first; }
    double mean() const { return static_cast<double>(m_sum / static_cast<long double>(m_finite)); }

  private:
    void forget(double value) {
        if (!std::isfinite(value)) {
            return;
        }
        auto found = m_counts.find(value);
        if (--found->second == 0) {
            m_counts.erase(found);
        }
        m_sum -= value;
        --m_finite;
    }
    void resum() {
        m_sum = 0.0L;
        for (size_t i = 0; i < m_values.size(); ++i) {
            if (m_held[i] && std::isfinite(m_values[i])) {
                m_sum += m_values[i];
            }
        }
        m_changes = 0;
    }

    std::vector<double> m_values;
    std::vector<bool> m_held;
    std::map<double, size_t> m_counts;  // each finite value held, with how many cells hold it
    long double m_sum = 0.0L;
    size_t m_finite = 0;
    size_t m_changes = 0;
};

}  // namespace

void SDValueHistory::fromChain(const SDTimeCursor& cursor, uint32_t last, SDSeries& series) {
    // Backwards along the chain the first update met at each time is the last one sent at it.
    std::vector<uint32_t> kept;
    uint32_t previousTime = SDTimeCursor::kNone;
    for (uint32_t u = last; u != SDTimeCursor::kNone; u = cursor.m_updatePrevious[u]) {
        if (cursor.m_updateTime[u] != previousTime) {
            kept.push_back(u);
            previousTime = cursor.m_updateTime[u];
        }
    }
    series.times.reserve(kept.size());
    series.values.reserve(kept.size());
    for (auto it = kept.rbegin(); it != kept.rend(); ++it) {
        series.times.push_back(cursor.m_times[cursor.m_updateTime[*it]]);
        series.values.push_back(cursor.m_updateValue[*it]);
    }
}

bool SDValueHistory::cell(SDTimeCursor& cursor, const SDCELLDevsModel& model, unsigned x, unsigned y,
                          unsigned z, SDSeries& series) {
    cursor.sync();
    reset(series, false);
    for (const SDTimeCursor::CellModel& cells : cursor.m_cellModels) {
        if (cells.model != &model) {
            continue;
        }
        if (x >= cells.width || y >= cells.height || z >= cells.length) {
            return false;
        }
        const size_t slot = cells.base + (static_cast<size_t>(x) * cells.height + y) * cells.length + z;
        fromChain(cursor, cursor.m_lastUpdate[slot], series);
        // A cell holds its initial value from the start until its first message; a message at or before
        // the start hides it, as it does on the screen.
        double initial = 0.0;
        if (model.initialValue(x, y, z, initial) && (series.times.empty() || series.times.front() > 0.0)) {
            series.times.insert(series.times.begin(), 0.0);
            series.values.insert(series.values.begin(), initial);
        }
        return true;
    }
    return false;
}

bool SDValueHistory::output(SDTimeCursor& cursor, const std::string& model, const std::string& port,
                            SDSeries& series) {
    cursor.sync();
    reset(series, false);
    const SDNameTable& names = cursor.m_events.getNames();
    uint32_t source = 0;
    uint32_t portName = 0;
    if (!names.find(model, source) || !names.find(port, portName)) {
        return false;
    }
    auto found = cursor.m_portSlots.find(static_cast<uint64_t>(source) << 32 | portName);
    if (found == cursor.m_portSlots.end()) {
        return false;
    }
    fromChain(cursor, cursor.m_lastUpdate[cursor.m_cellSlots + found->second], series);
    return true;
}

bool SDValueHistory::input(const SDEventList& events, const std::string& model, const std::string& port,
                           SDSeries& series) {
    reset(series, false);
    const SDNameTable& names = events.getNames();
    uint32_t destination = 0;
    uint32_t portName = 0;
    if (!names.find(model, destination) || !names.find(port, portName)) {
        return false;
    }
    for (size_t i = 0; i < events.size(); ++i) {
        const SDEventList::Record& event = events.record(i);
        if (event.type == 0 && event.destination == destination && event.port == portName &&
            std::isfinite(event.time)) {
            setAt(series, event.time, event.value);
        }
    }
    return true;
}

bool SDValueHistory::spread(SDTimeCursor& cursor, const SDCELLDevsModel& model, SDSeries& series) {
    cursor.sync();
    reset(series, true);
    auto cells = std::find_if(cursor.m_cellModels.begin(), cursor.m_cellModels.end(),
                              [&](const SDTimeCursor::CellModel& c) { return c.model == &model; });
    if (cells == cursor.m_cellModels.end()) {
        return false;
    }
    const size_t timeCount = cursor.m_times.size();
    const size_t updateCount = cursor.m_updateSlot.size();
    series.times.reserve(timeCount + 1);
    series.values.reserve(timeCount + 1);
    series.minimum.reserve(timeCount + 1);
    series.maximum.reserve(timeCount + 1);
    Spread spread(cells->count);
    // Every cell that has an initial value holds it from the start: the start gets a row of its own
    // unless an event time is there.
    bool startDone = true;
    if (model.getInitialValues() != nullptr) {
        size_t cell = 0;
        double value = 0.0;
        for (unsigned x = 0; x < cells->width; ++x) {
            for (unsigned y = 0; y < cells->height; ++y) {
                for (unsigned z = 0; z < cells->length; ++z, ++cell) {
                    if (model.initialValue(x, y, z, value)) {
                        spread.set(cell, value);
                        startDone = false;
                    }
                }
            }
        }
    }
    auto row = [&](double time) {
        series.times.push_back(time);
        series.values.push_back(spread.any() ? spread.mean() : kNaN);
        series.minimum.push_back(spread.any() ? spread.minimum() : kNaN);
        series.maximum.push_back(spread.any() ? spread.maximum() : kNaN);
    };
    // The updates come in event order, so their time indices never decrease.
    size_t u = 0;
    for (size_t t = 0; t < timeCount; ++t) {
        const double time = cursor.m_times[t];
        if (!startDone && time > 0.0) {
            row(0.0);
        }
        startDone = startDone || time >= 0.0;
        for (; u < updateCount && cursor.m_updateTime[u] == t; ++u) {
            const uint32_t slot = cursor.m_updateSlot[u];
            if (slot >= cells->base && slot - cells->base < cells->count) {
                spread.set(slot - cells->base, cursor.m_updateValue[u]);
            }
        }
        row(time);
    }
    if (!startDone) {
        row(0.0);
    }
    return true;
}
