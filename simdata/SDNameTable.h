#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
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
    // `id` must be one that intern gave.
    const std::string& name(uint32_t id) const { return m_names[id]; }
    size_t size() const { return m_names.size(); }
    // What the table holds on the heap, near enough.
    size_t memoryBytes() const;

  private:
    // The index is an open-addressed table, at most half full, of name numbers with part of their
    // hash beside them, so that a lookup (an import makes millions) mostly touches one slot and one name.
    struct Slot {
        uint32_t id;
        uint32_t check;  // the high half of the name's hash
    };
    static constexpr uint32_t kEmpty = UINT32_MAX;

    // The slot that holds `name`, or the empty slot where it would go.
    size_t slotOf(std::string_view name, uint64_t hash) const;
    void grow();

    std::deque<std::string> m_names;  // a deque never moves its elements
    std::vector<Slot> m_slots;
};
