#include "simdata/SDNameTable.h"

uint32_t SDNameTable::intern(std::string_view name) {
    auto found = m_ids.find(name);
    if (found != m_ids.end()) {
        return found->second;
    }
    const auto id = static_cast<uint32_t>(m_names.size());
    const std::string& held = m_names.emplace_back(name);
    m_ids.emplace(std::string_view(held), id);
    return id;
}

bool SDNameTable::find(std::string_view name, uint32_t& id) const {
    auto found = m_ids.find(name);
    if (found == m_ids.end()) {
        return false;
    }
    id = found->second;
    return true;
}

size_t SDNameTable::memoryBytes() const {
    // A node holds the view, the number, the cached hash and the link; a bucket is one pointer.
    constexpr size_t kNode = sizeof(void*) + sizeof(std::string_view) + sizeof(uint32_t) + sizeof(size_t);
    size_t bytes =
        m_names.size() * sizeof(std::string) + m_ids.size() * kNode + m_ids.bucket_count() * sizeof(void*);
    for (const std::string& name : m_names) {
        if (name.capacity() > 15) {  // longer texts live outside the string object
            bytes += name.capacity() + 1;
        }
    }
    return bytes;
}
