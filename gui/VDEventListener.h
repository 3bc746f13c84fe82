#pragma once

class VDEvent;

// Something that receives events.
class VDEventListener {
  public:
    VDEventListener() = default;
    VDEventListener(const VDEventListener&) = delete;
    VDEventListener& operator=(const VDEventListener&) = delete;
    virtual ~VDEventListener() = default;
    // Returns whether the event was handled.
    virtual bool handleEvent(VDEvent* event) = 0;

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

  protected:
    bool m_enabled = true;
};
