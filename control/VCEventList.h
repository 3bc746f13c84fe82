#pragma once

#include <cstddef>
#include <cstdint>

class SDEvent;
class SDEventList;

// The controller's view of a visualization's event list: imports add events through it.
class VCEventList {
  public:
    // Over a list owned elsewhere (the visualization).
    explicit VCEventList(SDEventList* list) : m_list(list) {}
    VCEventList(const VCEventList&) = delete;
    VCEventList& operator=(const VCEventList&) = delete;

    virtual ~VCEventList();
    // Hand-over as the event list's addEvent: true when it took the event.
    virtual bool addEvent(SDEvent* event);
    // Keeps a copy of the event's contents; the caller keeps its object. True unless there is no list.
    bool offerEvent(const SDEvent& event);
    // A hint that an event naming these hashes is to come (SDEventList::foreseeNames).
    void foreseeNames(uint32_t source, uint32_t destination, bool next) const;
    // Where the last event offered went in time order (SDEventList::addEventCopy).
    size_t lastIndex() const { return m_lastIndex; }
    // The run lasts at least until this time (see SDEventList::extendRun).
    void extendRun(double milliseconds);

  private:
    SDEventList* m_list;
    size_t m_lastIndex = SIZE_MAX;
};
