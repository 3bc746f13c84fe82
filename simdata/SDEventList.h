#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "simdata/SDChunkedArray.h"
#include "simdata/SDEvent.h"
#include "simdata/SDNameTable.h"

// The events of a visualization in ascending time order; events of equal time keep their arrival order.
//
// A run has millions of events naming a few thousand models, so an event is held as a small record with
// its names as numbers in one name table, not as an SDEvent with three strings of its own.
class SDEventList {
  public:
    // One held event; source, destination and port are numbers in getNames().
    struct Record {
        double time;  // milliseconds
        double value;
        uint32_t source;
        uint32_t destination;
        uint32_t port;
        int32_t type;  // 0 external message, anything else an output message
    };

    SDEventList();
    SDEventList(const SDEventList&) = delete;
    SDEventList& operator=(const SDEventList&) = delete;

    virtual ~SDEventList();
    // Hand-over: the list takes `event`, keeps its contents and deletes the object, so the pointer is
    // invalid afterwards. Every event is accepted (identical ones too); only null is refused (false).
    // An event goes after every held event that is not later than it. One with a NaN time goes after
    // every event held when it arrives; later events are placed as if it were not there.
    virtual bool addEvent(SDEvent* event);
    virtual void printAll() const;

    // Keeps the contents of `event`, placed as addEvent places it; the caller keeps its object.
    // Returns the event's index in time order, or kUnplaced when it arrived out of order and waits to be
    // merged (its index, and those of the events after it, are known once the list is next read).
    static constexpr size_t kUnplaced = SIZE_MAX;
    size_t addEventCopy(const SDEvent& event);
    // A hint that an event naming models of these hashes (SDNameTable::hashOf) is to be added soon: its
    // name lookups are fetched ahead (SDNameTable::prefetchSlot), and when `next` (it comes next or
    // nearly) the names as well. Changes nothing.
    void foreseeNames(uint32_t source, uint32_t destination, bool next) const;
    // Gives the event at `index` another value (a state read another way); the revision grows.
    void setValue(size_t index, double value);

    // A run goes on after its last event while its log names later times in lines that are no events (a
    // model turning passive): notes such a time, so that the run is known to last until then. Times that
    // are not finite are left out; nothing is listed or printed for it.
    void extendRun(double milliseconds);
    // The latest finite time noted by extendRun; -infinity when none was.
    double runEnd() const { return m_runEnd; }

    size_t size() const { return m_records.size() + m_pending.size(); }
    // The event at `index` in time order (index below size()).
    const Record& record(size_t index) const {
        settle();
        return m_records[index];
    }
    // The event at `index` as a whole object.
    SDEvent eventAt(size_t index) const;
    const SDNameTable& getNames() const { return m_names; }
    // Grows with every event added and every later run end: what is derived from the list can tell that it
    // is out of date.
    uint64_t revision() const { return m_revision; }
    // The heap the list holds for its events and names, near enough.
    size_t memoryBytes() const;

    // The events in order, each read as a whole object (a copy), for `for (const SDEvent& e : ...)`.
    class Iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = SDEvent;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = SDEvent;

        Iterator(const SDEventList* list, size_t index) : m_list(list), m_index(index) {}
        SDEvent operator*() const { return m_list->eventAt(m_index); }
        // The copy lives as long as the expression that uses the arrow.
        struct Arrow {
            SDEvent event;
            const SDEvent* operator->() const { return &event; }
        };
        Arrow operator->() const { return Arrow{**this}; }
        Iterator& operator++() {
            ++m_index;
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_index == other.m_index; }
        bool operator!=(const Iterator& other) const { return m_index != other.m_index; }

      private:
        const SDEventList* m_list;
        size_t m_index;
    };
    struct Events {
        const SDEventList* list;
        Iterator begin() const { return Iterator(list, 0); }
        Iterator end() const { return Iterator(list, list->size()); }
        size_t size() const { return list->size(); }
        bool empty() const { return list->size() == 0; }
    };
    Events getEvents() const { return Events{this}; }

  private:
    size_t add(const Record& record);
    // Merges the events that arrived out of order into the ordered ones.
    void settle() const {
        if (!m_pending.empty()) {
            mergePending();
        }
    }
    void mergePending() const;

    // Events are ordered by a key: the time, or for a NaN time the latest time held when it arrived. Ties
    // keep arrival order. Most events arrive in order and are appended; the rest wait in m_pending (with
    // their keys) until the list is next read, and are then merged in one pass, so a log imported a
    // second time costs time in proportion to its size rather than to its size squared.
    struct Pending {
        double key;
        Record record;
    };
    mutable SDChunkedArray<Record> m_records;
    // In chunks, as the events: a second file of a run can send most of its events here.
    mutable SDChunkedArray<Pending> m_pending;
    // Whether the waiting events arrived in key order (a file read after another of the same run mostly
    // does): they are then merged as they are, without sorting.
    mutable bool m_pendingOrdered = true;
    mutable double m_lastKey =
        0.0;              // the key of the last ordered event; meaningful while m_records is not empty
    double m_latestTime;  // the latest time held, or -infinity
    double m_runEnd;
    uint64_t m_revision = 0;
    SDNameTable m_names;
    // The names of the previous event, since consecutive events mostly repeat them.
    uint32_t m_lastNames[3] = {UINT32_MAX, UINT32_MAX, UINT32_MAX};
};
