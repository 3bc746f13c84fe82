#include "simdata/SDEventList.h"

#include <memory>
#include <utility>

SDEventList::~SDEventList() = default;

bool SDEventList::addEvent(SDEvent* event) {
    if (event == nullptr) {
        return false;
    }
    std::unique_ptr<SDEvent> owned(event);
    // Logs arrive in time order, so the search from the back normally stops at once.
    auto position = m_events.end();
    while (position != m_events.begin() && owned->m_time < std::prev(position)->m_time) {
        --position;
    }
    m_events.insert(position, std::move(*owned));
    return true;
}

void SDEventList::printAll() const {
    for (const SDEvent& event : m_events) {
        event.print();
    }
}
