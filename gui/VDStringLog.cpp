#include "gui/VDStringLog.h"

#include <algorithm>

VDStringLog::~VDStringLog() = default;

int VDStringLog::getCapacity() const {
    return m_capacity;
}

int VDStringLog::setCapacity(int capacity) {
    m_capacity = capacity < 0 ? 0 : capacity;
    straighten();
    const int count = getCount();
    if (count <= m_capacity) {
        return 0;
    }
    const int removed = count - m_capacity;
    m_ring.erase(m_ring.begin(), m_ring.begin() + removed);
    return removed;
}

int VDStringLog::getCount() const {
    return static_cast<int>(m_ring.size());
}

void VDStringLog::addLine(const std::string& text) {
    if (m_capacity <= 0) {
        return;
    }
    if (getCount() < m_capacity) {
        m_ring.push_back(text);
        return;
    }
    // Full: the oldest line's string takes the new text, keeping its storage.
    m_ring[m_oldest].assign(text);
    if (++m_oldest == m_ring.size()) {
        m_oldest = 0;
    }
}

VDStringLog::const_iterator VDStringLog::begin() const {
    return const_iterator(this, 0);
}

VDStringLog::const_iterator VDStringLog::end() const {
    return const_iterator(this, getCount());
}

const std::string& VDStringLog::lineAt(int age) const {
    const size_t size = m_ring.size();
    return m_ring[(m_oldest + size - 1 - static_cast<size_t>(age)) % size];
}

void VDStringLog::straighten() {
    if (m_oldest != 0) {
        std::rotate(m_ring.begin(), m_ring.begin() + static_cast<std::ptrdiff_t>(m_oldest), m_ring.end());
        m_oldest = 0;
    }
}
