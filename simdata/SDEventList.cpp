#include "simdata/SDEventList.h"

#include <cmath>
#include <memory>
#include <utility>

SDEventList::~SDEventList() = default;

bool SDEventList::addEvent(SDEvent* event) {
    if (event == nullptr) {
        return false;
    }
    std::unique_ptr<SDEvent> owned(event);
    const double time = owned->m_time.getMilliseconds();
    if (std::isnan(time)) {
        // NaN has no place in the order (and no place in the index, whose keys must compare).
        m_events.push_back(std::move(*owned));
        return true;
    }
    // Before the first event of the next later time, which is after every event of this time.
    auto later = m_firstOfTime.upper_bound(time);
    auto position = later == m_firstOfTime.end() ? m_events.end() : later->second;
    auto inserted = m_events.insert(position, std::move(*owned));
    m_firstOfTime.emplace_hint(later, time, inserted);  // keeps an existing first event of this time
    return true;
}

void SDEventList::printAll() const {
    for (const SDEvent& event : m_events) {
        event.print();
    }
}
