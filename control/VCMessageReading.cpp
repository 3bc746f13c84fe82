#include "control/VCMessageReading.h"

#include <cmath>
#include <cstdint>

#include "control/VCSimulation.h"
#include "shell/LogFormat.h"
#include "simdata/SDEventList.h"
#include "simdata/SDModelStructure.h"
#include "simdata/SDTime.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"

namespace {

constexpr uint32_t kNoName = UINT32_MAX;

// The first event at or after `from` whose time is a number; events.size() when there is none. An event
// without a time sits among the others where its arrival put it, out of their order.
size_t timedFrom(const SDEventList& events, size_t from) {
    while (from < events.size() && std::isnan(events.record(from).time)) {
        ++from;
    }
    return from;
}

// The first event whose time is not before `time`, skipping events without one: the events with times
// are in ascending order, so a binary search over them costs a few reads, not the whole run.
size_t firstAtOrAfter(const SDEventList& events, double time) {
    size_t low = 0;
    size_t high = events.size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        const size_t timed = timedFrom(events, middle);
        if (timed < events.size() && events.record(timed).time < time) {
            low = timed + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

}  // namespace

VCMessageReading VCMessageReading::read(const std::string& model) {
    VCMessageReading reading;
    SDVisualization* visualization = getVisualization();
    if (visualization == nullptr) {
        reading.lines.push_back("Unable to list messages. Visualization does not exist.");
        return reading;
    }
    const SDEventList& events = *visualization->getEventList();
    const SDNameTable& names = events.getNames();
    const bool filtered = !model.empty();
    uint32_t wanted = kNoName;
    // The events' names hold their ports too, so a plain name must be a model of the hierarchy; a cell is
    // none, and is known when a message names it.
    const bool named = filtered && names.find(model, wanted);
    const bool known = model.find('(') != std::string::npos
                           ? named
                           : visualization->getStructure()->tree().find(model) != SDModelTree::kNone;
    if (filtered && !known) {
        reading.result = Result::NoModel;
        reading.lines.push_back("No model named " + model);
        return reading;
    }
    reading.result = Result::Messages;

    const double now = visualization->getCursor()->time();
    const std::string when = SDTime(now).toString();
    const std::string about = filtered ? " from or to " + model : "";
    reading.lines.emplace_back();  // the heading, once the messages are counted
    size_t count = 0;
    for (size_t i = timedFrom(events, firstAtOrAfter(events, now)); i < events.size();
         i = timedFrom(events, i + 1)) {
        const SDEventList::Record& held = events.record(i);
        if (held.time != now) {
            break;
        }
        if (filtered && held.source != wanted && held.destination != wanted) {
            continue;
        }
        if (++count <= kMostListed) {
            std::string line(names.name(held.source));
            line += " --";
            line += names.name(held.port);
            line += formatText(": %f--> ", held.value);
            line += names.name(held.destination);
            reading.lines.push_back(std::move(line));
        }
    }
    if (count == 0) {
        reading.lines.front() = "No messages" + about + " at " + when;
        return reading;
    }
    reading.lines.front() = formatText("Messages%s at %s: %zu", about.c_str(), when.c_str(), count);
    if (count > kMostListed) {
        reading.lines.push_back(formatText("... and %zu more", count - kMostListed));
    }
    return reading;
}
