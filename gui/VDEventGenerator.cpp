#include "gui/VDEventGenerator.h"

#include <algorithm>

#include "gui/VDEvent.h"
#include "gui/VDEventListener.h"

VDEventGenerator::~VDEventGenerator() = default;

void VDEventGenerator::addListener(VDEventListener* listener) {
    removeListener(listener);
    m_listeners.push_back(listener);
}

void VDEventGenerator::removeListener(VDEventListener* listener) {
    if (m_parentListener == listener) {
        m_parentListener = nullptr;
    }
    auto found = std::find(m_listeners.begin(), m_listeners.end(), listener);
    if (found != m_listeners.end()) {
        m_listeners.erase(found);
    }
}

bool VDEventGenerator::dispatch(VDEvent* event) {
    const int routing = event->getRouting();
    if ((routing == VDEvent::ROUTE_UP || routing == VDEvent::ROUTE_BOTH) && m_parentListener != nullptr &&
        m_parentListener->isEnabled()) {
        m_parentListener->handleEvent(event);
    }
    if (routing == VDEvent::ROUTE_DOWN || routing == VDEvent::ROUTE_BOTH) {
        // By index: a handler may add a listener to this generator while the event is delivered.
        for (size_t i = 0; i < m_listeners.size(); ++i) {
            VDEventListener* listener = m_listeners[i];
            if (listener->isEnabled()) {
                listener->handleEvent(event);
            }
        }
    }
    return false;
}

bool VDEventGenerator::sendToListener(VDEvent* event, int index) {
    const int routing = event->getRouting();
    if (routing != VDEvent::ROUTE_DOWN && routing != VDEvent::ROUTE_BOTH) {
        return false;
    }
    if (index < 0 || static_cast<size_t>(index) >= m_listeners.size()) {
        return false;
    }
    VDEventListener* listener = m_listeners[index];
    return listener->isEnabled() ? listener->handleEvent(event) : false;
}
