#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "simdata/SDLogMessage.h"

// What the models of a hierarchy did over a run, kept so that any moment can be asked about without
// replaying the log: the lines between two models (see SDModelTree), indexed by model, by port and by time.
//
// Lines are held in the order they arrive. The first question after new lines sorts them by time (lines of
// equal times keep their order; lines whose time is not finite are left out) and indexes them in one pass:
// per model the times it was active (an internal transition, an X received or a Y sent) and its D lines, per
// port slot the values on it, and the X and Y lines by time. A question then costs a binary search.
class SDModelHistory {
  public:
    using Kind = SDLogMessage::Kind;
    static constexpr uint32_t kNone = UINT32_MAX;

    struct Line {
        double time;
        double value;  // X, Y: the value; D: the delay, +infinity when passive
        uint32_t source;
        uint32_t destination;
        uint32_t slot;  // X, Y: the port's slot
        Kind kind;
    };

    // What a model's last D at or before a time says.
    struct Done {
        bool known = false;    // there is one
        bool passive = false;  // "..."
        double time = 0.0;     // when it was sent
        double next = 0.0;     // time + delay, when not passive
    };

    SDModelHistory() = default;
    SDModelHistory(const SDModelHistory&) = delete;
    SDModelHistory& operator=(const SDModelHistory&) = delete;

    void add(const Line& line);
    size_t size() const { return m_lines.size(); }

    // Brings the index up to date for this many models and port slots; every question below needs it first.
    void index(size_t models, size_t slots);

    // Whether the model had an internal transition, received an X or sent a Y at exactly this time.
    bool activeAt(uint32_t model, double time) const;
    Done doneAt(uint32_t model, double time) const;
    // The last value on the port at or before the time, and when it came. False when none did yet.
    bool valueAt(uint32_t slot, double time, double& value, double& since) const;
    // The smallest and largest finite value on the port over the whole run; false when it has none.
    bool range(uint32_t slot, double& minimum, double& maximum) const;
    // The most characters a value of the port takes in "%g", 0 when it has none.
    unsigned valueWidth(uint32_t slot) const;
    // The X and Y lines at exactly this time, as [first, last) positions for message().
    std::pair<size_t, size_t> messagesAt(double time) const;
    const Line& message(size_t position) const { return m_lines[m_messages[position]]; }

    // Heap held, near enough.
    size_t memoryBytes() const;

  private:
    // Positions in m_lines, grouped by key: group k is [offsets[k], offsets[k + 1]).
    struct Groups {
        std::vector<uint32_t> offsets;
        std::vector<uint32_t> lines;
        std::pair<const uint32_t*, const uint32_t*> of(size_t key) const {
            if (key + 1 >= offsets.size()) {
                return {nullptr, nullptr};
            }
            return {lines.data() + offsets[key], lines.data() + offsets[key + 1]};
        }
    };
    struct SlotRange {
        double minimum;
        double maximum;
        unsigned width;
        bool any;
    };

    // The last of [first, last) at or before the time, or null.
    const uint32_t* lastAtOrBefore(const uint32_t* first, const uint32_t* last, double time) const;

    std::vector<Line> m_lines;
    size_t m_indexedLines = 0;
    size_t m_indexedModels = 0;
    size_t m_indexedSlots = 0;
    bool m_indexed = false;

    std::vector<uint32_t> m_order;  // finite-time lines by time
    Groups m_active;                // per model: the lines that make it active
    Groups m_done;                  // per model: its D lines
    Groups m_values;                // per slot: the X and Y lines on it
    std::vector<SlotRange> m_ranges;
    std::vector<uint32_t> m_messages;  // X and Y lines by time
};
