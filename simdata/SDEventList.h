#pragma once

#include <cstddef>
#include <list>
#include <map>

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
    // An event goes after every held event that is not later than it; one with a NaN time goes last.
    virtual bool addEvent(SDEvent* event);
    virtual void printAll() const;

    const std::list<SDEvent>& getEvents() const { return m_events; }
    size_t size() const { return m_events.size(); }

  private:
    std::list<SDEvent> m_events;
    // The first held event of each distinct time. An event that arrives out of order (every event of a log
    // imported a second time does) finds its place here instead of walking the list back event by event,
    // which made a second import cost time quadratic in the log's size.
    std::map<double, std::list<SDEvent>::iterator> m_firstOfTime;
};
