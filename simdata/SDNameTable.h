#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

// Model and port names held once and referred to by number, so that a million events naming the same few
// thousand models cost a number each instead of a copy of the text. Numbers are given in order from 0 and
// stay valid for the table's life; nothing is ever removed.
class SDNameTable {
  public:
    SDNameTable() = default;
    SDNameTable(const SDNameTable&) = delete;
    SDNameTable& operator=(const SDNameTable&) = delete;

    // The number of `name`, adding it when it is new.
    uint32_t intern(std::string_view name);
    // False when the name is not held; `id` is then untouched.
    bool find(std::string_view name, uint32_t& id) const;
    // `id` must be one that intern gave. The text stays where it is for the table's life.
    std::string_view name(uint32_t id) const { return textAt(m_entries[id]); }
    size_t size() const { return m_entries.size(); }
    // What the table holds on the heap, near enough.
    size_t memoryBytes() const;

    // The hash a name is placed by, the same in every table, so that a reader can work it out ahead on
    // a thread of its own.
    static uint32_t hashOf(std::string_view name);
    // Hints for a lookup of a name of this hash that is to come soon, so that its cache misses (a table
    // of a million names is far larger than the cache) overlap other work instead of stalling it: first
    // the slot, then, once the slot is at hand, the name it points to. Neither changes anything.
    void prefetchSlot(uint32_t hash) const;
    void prefetchName(uint32_t hash) const;

  private:
    // Names lie one after another in chunks of words, each after a header word holding its number and
    // length, so that a lookup (an import makes millions, over a million cell names for a big 3D space)
    // touches one slot and one stretch of memory. An entry is referred to by its chunk and its word in
    // the chunk: 32 bits reach 32 GiB of names.
    static constexpr unsigned kChunkShift = 17;  // words a chunk: 1 MiB
    static constexpr size_t kChunkWords = size_t{1} << kChunkShift;
    static constexpr size_t kFirstChunkWords = 64;
    struct Header {
        uint32_t id;
        uint32_t length;
    };
    static_assert(sizeof(Header) == sizeof(uint64_t));

    // The index is an open-addressed table, at most half full, of entries with their name's hash beside
    // them: most lookups read one slot and one entry, and the index grows without reading a name.
    struct Slot {
        uint32_t entry;
        uint32_t hash;
    };
    static constexpr uint32_t kEmpty = UINT32_MAX;

    const uint64_t* wordAt(uint32_t entry) const {
        return m_chunks[entry >> kChunkShift].get() + (entry & (kChunkWords - 1));
    }
    Header headerAt(uint32_t entry) const;
    std::string_view textAt(uint32_t entry) const;
    // The slot that holds `name`, or the empty slot where it would go.
    size_t slotOf(std::string_view name, uint32_t hash) const;
    // Copies `name` in as number `id`; returns its entry.
    uint32_t store(std::string_view name, uint32_t id);
    void grow();

    std::vector<std::unique_ptr<uint64_t[]>> m_chunks;
    // The size of each chunk; a name longer than kChunkWords has one of its own.
    std::vector<size_t> m_chunkWords;
    size_t m_usedWords = 0;           // in the last chunk
    std::vector<uint32_t> m_entries;  // by number
    std::vector<Slot> m_slots;
};
