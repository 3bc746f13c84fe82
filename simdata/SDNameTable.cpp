#include "simdata/SDNameTable.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

namespace {

size_t wordsFor(size_t bytes) {
    return (bytes + sizeof(uint64_t) - 1) / sizeof(uint64_t);
}

}  // namespace

// 32 bits are kept with each name: they place it in the index and, being kept, let the index grow
// without reading a single name again (a million cell names would each cost a cache miss).
uint32_t SDNameTable::hashOf(std::string_view name) {
    const uint64_t hash = std::hash<std::string_view>()(name);
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}

uint32_t SDNameTable::intern(std::string_view name) {
    if ((m_entries.size() + 1) * 2 > m_slots.size()) {
        grow();
    }
    const uint32_t hash = hashOf(name);
    Slot& slot = m_slots[slotOf(name, hash)];
    if (slot.entry == kEmpty) {
        const auto id = static_cast<uint32_t>(m_entries.size());
        slot.entry = store(name, id);
        slot.hash = hash;
        m_entries.push_back(slot.entry);
    }
    return headerAt(slot.entry).id;
}

bool SDNameTable::find(std::string_view name, uint32_t& id) const {
    if (m_slots.empty()) {
        return false;
    }
    const Slot& slot = m_slots[slotOf(name, hashOf(name))];
    if (slot.entry == kEmpty) {
        return false;
    }
    id = headerAt(slot.entry).id;
    return true;
}

void SDNameTable::prefetchSlot(uint32_t hash) const {
    if (!m_slots.empty()) {
        __builtin_prefetch(&m_slots[hash & (m_slots.size() - 1)]);
    }
}

void SDNameTable::prefetchName(uint32_t hash) const {
    if (m_slots.empty()) {
        return;
    }
    // Only as far as the slots that share the first one's cache line, mostly: a hint need not be sure.
    const size_t mask = m_slots.size() - 1;
    for (size_t at = hash & mask, probes = 0; probes < 4; at = (at + 1) & mask, ++probes) {
        const Slot& slot = m_slots[at];
        if (slot.entry == kEmpty) {
            return;
        }
        if (slot.hash == hash) {
            __builtin_prefetch(wordAt(slot.entry));
            return;
        }
    }
}

SDNameTable::Header SDNameTable::headerAt(uint32_t entry) const {
    Header header;
    std::memcpy(&header, wordAt(entry), sizeof(header));
    return header;
}

std::string_view SDNameTable::textAt(uint32_t entry) const {
    return {reinterpret_cast<const char*>(wordAt(entry) + 1), headerAt(entry).length};
}

size_t SDNameTable::slotOf(std::string_view name, uint32_t hash) const {
    const size_t mask = m_slots.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = m_slots[at];
        if (slot.entry == kEmpty || (slot.hash == hash && textAt(slot.entry) == name)) {
            return at;
        }
    }
}

uint32_t SDNameTable::store(std::string_view name, uint32_t id) {
    if (name.size() > UINT32_MAX) {
        throw std::bad_alloc();  // a header holds the length in 32 bits; no log line comes near
    }
    const size_t words = 1 + wordsFor(name.size());
    if (m_chunks.empty() || m_usedWords + words > m_chunkWords.back()) {
        // The chunks' numbers must stay within what an entry holds, short of the empty slot's mark.
        if (m_chunks.size() + 1 >= (size_t{1} << (32 - kChunkShift))) {
            throw std::bad_alloc();
        }
        // Chunks double from a few KiB, so that the many small tables (a model's ports, say) stay small.
        size_t size =
            m_chunkWords.empty() ? kFirstChunkWords : std::min(m_chunkWords.back() * 2, kChunkWords);
        size = std::max(size, words);
        m_chunks.push_back(std::make_unique<uint64_t[]>(size));
        m_chunkWords.push_back(size);
        m_usedWords = 0;
    }
    uint64_t* word = m_chunks.back().get() + m_usedWords;
    const Header header{id, static_cast<uint32_t>(name.size())};
    std::memcpy(word, &header, sizeof(header));
    if (!name.empty()) {
        std::memcpy(word + 1, name.data(), name.size());
    }
    const auto entry = static_cast<uint32_t>(((m_chunks.size() - 1) << kChunkShift) | m_usedWords);
    m_usedWords += words;
    return entry;
}

void SDNameTable::grow() {
    std::vector<Slot> slots(m_slots.empty() ? 64 : m_slots.size() * 2, Slot{kEmpty, 0});
    m_slots.swap(slots);
    const size_t mask = m_slots.size() - 1;
    for (const Slot& moved : slots) {
        if (moved.entry == kEmpty) {
            continue;
        }
        size_t at = moved.hash & mask;
        while (m_slots[at].entry != kEmpty) {
            at = (at + 1) & mask;
        }
        m_slots[at] = moved;
    }
}

size_t SDNameTable::memoryBytes() const {
    size_t words = 0;
    for (size_t size : m_chunkWords) {
        words += size;
    }
    return words * sizeof(uint64_t) + m_chunks.capacity() * sizeof(m_chunks[0]) +
           m_chunkWords.capacity() * sizeof(size_t) + m_entries.capacity() * sizeof(uint32_t) +
           m_slots.capacity() * sizeof(Slot);
}
