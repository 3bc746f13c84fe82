#pragma once

#include <vector>

class VDEvent;
class VDEventListener;

// Delivers events to one upward listener and to an ordered list of downward listeners, according to the
// event's routing value. It owns none of them.
class VDEventGenerator {
  public:
    VDEventGenerator() = default;
    VDEventGenerator(const VDEventGenerator&) = delete;
    VDEventGenerator& operator=(const VDEventGenerator&) = delete;
    virtual ~VDEventGenerator();

    // Appends `listener`, first removing it if present: a listener is never registered twice.
    void addListener(VDEventListener* listener);
    // Clears the upward listener if it is `listener`, and erases its first occurrence in the list.
    void removeListener(VDEventListener* listener);
    void setParentListener(VDEventListener* listener) { m_parentListener = listener; }
    VDEventListener* getParentListener() const { return m_parentListener; }
    const std::vector<VDEventListener*>& getListeners() const { return m_listeners; }

    // Up (routing 0 or 2) to the enabled parent listener, then down (1 or 2) to every enabled listener in
    // order. Results are ignored; returns false.
    bool dispatch(VDEvent* event);
    // The listener at `index` alone, for routing 1 or 2 when it is enabled; returns its result, else false.
    bool sendToListener(VDEvent* event, int index);

  protected:
    VDEventListener* m_parentListener = nullptr;
    std::vector<VDEventListener*> m_listeners;
};
