#include "control/VCEventList.h"

#include "simdata/SDEventList.h"

VCEventList::~VCEventList() {
    m_list = nullptr;
}

bool VCEventList::addEvent(SDEvent* event) {
    return m_list != nullptr && m_list->addEvent(event);
}

bool VCEventList::offerEvent(const SDEvent& event) {
    if (m_list == nullptr) {
        return false;
    }
    m_lastIndex = m_list->addEventCopy(event);
    return true;
}

void VCEventList::foreseeNames(uint32_t source, uint32_t destination, bool next) const {
    if (m_list != nullptr) {
        m_list->foreseeNames(source, destination, next);
    }
}

void VCEventList::extendRun(double milliseconds) {
    if (m_list != nullptr) {
        m_list->extendRun(milliseconds);
    }
}
