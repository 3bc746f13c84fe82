#include "simdata/SDNameTable.h"

#include <functional>

namespace {

uint64_t hashOf(std::string_view name) {
    return std::hash<std::string_view>()(name);
}

}  // namespace

uint32_t SDNameTable::intern(std::string_view name) {
    if ((m_names.size() + 1) * 2 > m_slots.size()) {
        grow();
    }
    const uint64_t hash = hashOf(name);
    Slot& slot = m_slots[slotOf(name, hash)];
    if (slot.id == kEmpty) {
        slot.id = static_cast<uint32_t>(m_names.size());
        slot.check = static_cast<uint32_t>(hash >> 32);
        m_names.emplace_back(name);
    }
    return slot.id;
}

bool SDNameTable::find(std::string_view name, uint32_t& id) const {
    if (m_slots.empty()) {
        return false;
    }
    const Slot& slot = m_slots[slotOf(name, hashOf(name))];
    if (slot.id == kEmpty) {
        return false;
    }
    id = slot.id;
    return true;
}

size_t SDNameTable::slotOf(std::string_view name, uint64_t hash) const {
    const size_t mask = m_slots.size() - 1;
    const auto check = static_cast<uint32_t>(hash >> 32);
    for (size_t at = static_cast<size_t>(hash) & mask;; at = (at + 1) & mask) {
        const Slot& slot = m_slots[at];
        if (slot.id == kEmpty || (slot.check == check && m_names[slot.id] == name)) {
            return at;
        }
    }
}

void SDNameTable::grow() {
    std::vector<Slot> slots(m_slots.empty() ? 64 : m_slots.size() * 2, Slot{kEmpty, 0});
    m_slots.swap(slots);
    for (uint32_t id = 0; id < m_names.size(); ++id) {
        const uint64_t hash = hashOf(m_names[id]);
        m_slots[slotOf(m_names[id], hash)] = Slot{id, static_cast<uint32_t>(hash >> 32)};
    }
}

size_t SDNameTable::memoryBytes() const {
    size_t bytes = m_names.size() * sizeof(std::string) + m_slots.capacity() * sizeof(Slot);
    for (const std::string& name : m_names) {
        if (name.capacity() > 15) {  // longer texts live outside the string object
            bytes += name.capacity() + 1;
        }
    }
    return bytes;
}
