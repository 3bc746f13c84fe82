#include "gui/VDStringLog.h"

VDStringLog::~VDStringLog() = default;

int VDStringLog::getCapacity() const {
    return m_capacity;
}

int VDStringLog::setCapacity(int capacity) {
    m_capacity = capacity < 0 ? 0 : capacity;
    int removed = 0;
    while (static_cast<int>(m_lines.size()) > m_capacity) {
        m_lines.pop_back();
        ++removed;
    }
    return removed;
}

int VDStringLog::getCount() const {
    return static_cast<int>(m_lines.size());
}

void VDStringLog::addLine(const std::string& text) {
    if (m_capacity <= 0) {
        return;
    }
    while (static_cast<int>(m_lines.size()) >= m_capacity) {
        m_lines.pop_back();
    }
    m_lines.push_front(text);
}

VDStringLog::const_iterator VDStringLog::begin() const {
    return m_lines.begin();
}

VDStringLog::const_iterator VDStringLog::end() const {
    return m_lines.end();
}
