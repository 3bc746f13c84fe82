#include "simdata/SDModelHistory.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "shell/LogFormat.h"

namespace {

unsigned printedWidth(double value) {
    return static_cast<unsigned>(numberText(value).size());
}

}  // namespace

void SDModelHistory::add(const Line& line) {
    m_lines.push_back(line);
}

void SDModelHistory::index(size_t models, size_t slots) {
    if (m_indexed && m_indexedLines == m_lines.size() && m_indexedModels == models &&
        m_indexedSlots == slots) {
        return;
    }
    m_indexed = true;
    m_indexedLines = m_lines.size();
    m_indexedModels = models;
    m_indexedSlots = slots;

    m_order.clear();
    m_order.reserve(m_lines.size());
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (std::isfinite(m_lines[i].time)) {
            m_order.push_back(static_cast<uint32_t>(i));
        }
    }
    // A log is written in time order; only a second import of an earlier run needs the sort.
    const auto earlier = [this](uint32_t a, uint32_t b) { return m_lines[a].time < m_lines[b].time; };
    if (!std::is_sorted(m_order.begin(), m_order.end(), earlier)) {
        std::stable_sort(m_order.begin(), m_order.end(), earlier);
    }

    // Each group's lines in time order: counted, then placed in one pass over the sorted lines.
    auto group = [this](Groups& groups, size_t keys, auto keyOf) {
        groups.offsets.assign(keys + 1, 0);
        for (uint32_t position : m_order) {
            const uint32_t key = keyOf(m_lines[position]);
            if (key < keys) {
                ++groups.offsets[key + 1];
            }
        }
        for (size_t k = 0; k < keys; ++k) {
            groups.offsets[k + 1] += groups.offsets[k];
        }
        groups.lines.assign(groups.offsets[keys], 0);
        std::vector<uint32_t> next(groups.offsets.begin(), groups.offsets.end() - 1);
        for (uint32_t position : m_order) {
            const uint32_t key = keyOf(m_lines[position]);
            if (key < keys) {
                groups.lines[next[key]++] = position;
            }
        }
    };
    group(m_active, models, [](const Line& line) {
        switch (line.kind) {
            case Kind::Internal:
            case Kind::External:
                return line.destination;
            case Kind::Output:
                return line.source;
            default:
                return kNone;
        }
    });
    group(m_done, models, [](const Line& line) { return line.kind == Kind::Done ? line.source : kNone; });
    group(m_values, slots, [](const Line& line) {
        return line.kind == Kind::External || line.kind == Kind::Output ? line.slot : kNone;
    });

    m_messages.clear();
    for (uint32_t position : m_order) {
        const Kind kind = m_lines[position].kind;
        if (kind == Kind::External || kind == Kind::Output) {
            m_messages.push_back(position);
        }
    }

    m_ranges.assign(slots, SlotRange{0.0, 0.0, 0, false});
    for (size_t slot = 0; slot < slots; ++slot) {
        SlotRange& range = m_ranges[slot];
        const auto [first, last] = m_values.of(slot);
        double previous = std::numeric_limits<double>::quiet_NaN();
        for (const uint32_t* at = first; at != last; ++at) {
            const double value = m_lines[*at].value;
            // Runs mostly repeat a few values; each is printed once per run of it.
            if (!(value == previous)) {
                range.width = std::max(range.width, printedWidth(value));
                previous = value;
            }
            if (!std::isfinite(value)) {
                continue;
            }
            if (!range.any) {
                range.minimum = range.maximum = value;
                range.any = true;
            } else {
                range.minimum = std::min(range.minimum, value);
                range.maximum = std::max(range.maximum, value);
            }
        }
    }
}

const uint32_t* SDModelHistory::lastAtOrBefore(const uint32_t* first, const uint32_t* last,
                                               double time) const {
    const uint32_t* after = std::upper_bound(
        first, last, time, [this](double t, uint32_t position) { return t < m_lines[position].time; });
    return after == first ? nullptr : after - 1;
}

bool SDModelHistory::activeAt(uint32_t model, double time) const {
    const auto [first, last] = m_active.of(model);
    const uint32_t* found = lastAtOrBefore(first, last, time);
    return found != nullptr && m_lines[*found].time == time;
}

SDModelHistory::Done SDModelHistory::doneAt(uint32_t model, double time) const {
    Done done;
    const auto [first, last] = m_done.of(model);
    const uint32_t* found = lastAtOrBefore(first, last, time);
    if (found == nullptr) {
        return done;
    }
    const Line& line = m_lines[*found];
    done.known = true;
    done.time = line.time;
    done.passive = std::isinf(line.value);
    done.next = done.passive ? line.time : line.time + line.value;
    return done;
}

bool SDModelHistory::valueAt(uint32_t slot, double time, double& value, double& since) const {
    const auto [first, last] = m_values.of(slot);
    const uint32_t* found = lastAtOrBefore(first, last, time);
    if (found == nullptr) {
        return false;
    }
    value = m_lines[*found].value;
    since = m_lines[*found].time;
    return true;
}

bool SDModelHistory::range(uint32_t slot, double& minimum, double& maximum) const {
    if (slot >= m_ranges.size() || !m_ranges[slot].any) {
        return false;
    }
    minimum = m_ranges[slot].minimum;
    maximum = m_ranges[slot].maximum;
    return true;
}

unsigned SDModelHistory::valueWidth(uint32_t slot) const {
    return slot < m_ranges.size() ? m_ranges[slot].width : 0;
}

std::pair<size_t, size_t> SDModelHistory::messagesAt(double time) const {
    const auto time_of = [this](uint32_t position) { return m_lines[position].time; };
    const auto first = std::lower_bound(m_messages.begin(), m_messages.end(), time,
                                        [&](uint32_t position, double t) { return time_of(position) < t; });
    const auto last = std::upper_bound(first, m_messages.end(), time,
                                       [&](double t, uint32_t position) { return t < time_of(position); });
    return {static_cast<size_t>(first - m_messages.begin()), static_cast<size_t>(last - m_messages.begin())};
}

size_t SDModelHistory::memoryBytes() const {
    return m_lines.capacity() * sizeof(Line) +
           (m_order.capacity() + m_active.offsets.capacity() + m_active.lines.capacity() +
            m_done.offsets.capacity() + m_done.lines.capacity() + m_values.offsets.capacity() +
            m_values.lines.capacity() + m_messages.capacity()) *
               sizeof(uint32_t) +
           m_ranges.capacity() * sizeof(SlotRange);
}
