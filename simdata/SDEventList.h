#pragma once

#include <cstddef>
#include <list>

#include "simdata/SDEvent.h"

// The events of a visualization in ascending time order; events of equal time keep their arrival order.
class SDEventList {
  public:
    SDEventList() = default;
    SDEventList(const SDEventList&) = delete;
    SDEventList& operator=(const SDEventList&) = delete;

    virtual ~SDEventList();
    // Hand-over: the list takes `event`, keeps its contents and deletes the object, so the pointer is
    // invalid afterwards. Every event is accepted (identical ones too); only null is refused (false).
    virtual bool addEvent(SDEvent* event);
    virtual void printAll() const;

    const std::list<SDEvent>& getEvents() const { return m_events; }
    size_t size() const { return m_events.size(); }

  private:
    std::list<SDEvent> m_events;
};
