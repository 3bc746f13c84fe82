#pragma once

#include "gui/VDKey.h"

// Every notification in the toolkit. Receivers tell events apart by getType() and only then down-cast to
// the class the code names; the routing value tells a window's generator which way to pass the event on.
class VDEvent {
  public:
    // Routing values.
    static constexpr int ROUTE_UP = 0;    // to the parent only
    static constexpr int ROUTE_DOWN = 1;  // to every child, in registration order
    static constexpr int ROUTE_BOTH = 2;  // to the parent, then to every child

    // Type codes. Codes from 65000 up belong to the application and are passed on uninterpreted.
    static constexpr int REDISPLAY = 1;
    static constexpr int RESIZE = 2;
    static constexpr int MOUSE_MOVE = 3;
    static constexpr int MOUSE_UP = 4;
    static constexpr int MOUSE_DOWN = 5;
    static constexpr int KEY_UP = 6;
    static constexpr int KEY_DOWN = 7;
    static constexpr int REDISPLAY_REQUEST = 8;
    static constexpr int SCROLL_VALUE = 9;
    static constexpr int BUTTON_PRESS = 10;
    static constexpr int CLOSE = 11;
    static constexpr int PLOT_PICK = 12;
    static constexpr int FIRST_APPLICATION_TYPE = 65000;

    VDEvent() = default;
    VDEvent(const VDEvent&) = default;
    VDEvent& operator=(const VDEvent&) = default;

    // Stores the concrete class's type code; each concrete constructor calls its own version.
    virtual void assignType() = 0;
    virtual ~VDEvent();
    void setRouting(int routing) { m_routing = routing; }
    int getRouting() const { return m_routing; }
    int getType() const { return m_type; }

  protected:
    int m_routing = ROUTE_DOWN;
    int m_type = 0;
};

// An event raised by a window about itself; it carries the window's id.
class VDWindowEvent : public VDEvent {
  public:
    explicit VDWindowEvent(int sourceId) : m_sourceId(sourceId) {}
    int getSourceId() const { return m_sourceId; }

  protected:
    int m_sourceId;
};

class VDMouseEvent : public VDEvent {
  public:
    VDMouseEvent(int x, int y) : m_x(x), m_y(y) {}
    int getX() const { return m_x; }
    int getY() const { return m_y; }

  protected:
    int m_x;
    int m_y;
};

// Buttons: 0 left, 1 right, 2 middle; a notch of the wheel presses and releases 3 (away from the user)
// or 4 (towards).
class VDMouseButtonEvent : public VDMouseEvent {
  public:
    static constexpr int LEFT = 0;
    static constexpr int RIGHT = 1;
    static constexpr int MIDDLE = 2;
    static constexpr int WHEEL_UP = 3;
    static constexpr int WHEEL_DOWN = 4;

    VDMouseButtonEvent(int button, int x, int y) : VDMouseEvent(x, y), m_button(button) {}
    int getButton() const { return m_button; }
    // The modifier keys held at the press or release: VDKey's KEY_SHIFT, KEY_CONTROL and KEY_ALT bits.
    int getModifiers() const { return m_modifiers; }
    void setModifiers(int modifiers) { m_modifiers = modifiers; }

  protected:
    int m_button;
    int m_modifiers = 0;
};

class VDKeyEvent : public VDEvent {
  public:
    explicit VDKeyEvent(const VDKey& key) : m_key(key) {}
    const VDKey& getKey() const { return m_key; }

  protected:
    VDKey m_key;
};

class VDRedisplayEvent : public VDEvent {
  public:
    VDRedisplayEvent() { VDRedisplayEvent::assignType(); }
    void assignType() override;
};

class VDResizeEvent : public VDEvent {
  public:
    VDResizeEvent(int width, int height) : m_width(width), m_height(height) { VDResizeEvent::assignType(); }
    void assignType() override;
    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }

  private:
    int m_width;
    int m_height;
};

class VDMouseMoveEvent : public VDMouseEvent {
  public:
    VDMouseMoveEvent(int x, int y) : VDMouseEvent(x, y) { VDMouseMoveEvent::assignType(); }
    void assignType() override;
};

class VDMouseUpEvent : public VDMouseButtonEvent {
  public:
    VDMouseUpEvent(int button, int x, int y) : VDMouseButtonEvent(button, x, y) {
        VDMouseUpEvent::assignType();
    }
    void assignType() override;
};

class VDMouseDownEvent : public VDMouseButtonEvent {
  public:
    VDMouseDownEvent(int button, int x, int y) : VDMouseButtonEvent(button, x, y) {
        VDMouseDownEvent::assignType();
    }
    void assignType() override;
};

class VDKeyUpEvent : public VDKeyEvent {
  public:
    explicit VDKeyUpEvent(const VDKey& key) : VDKeyEvent(key) { VDKeyUpEvent::assignType(); }
    void assignType() override;
};

class VDKeyDownEvent : public VDKeyEvent {
  public:
    explicit VDKeyDownEvent(const VDKey& key) : VDKeyEvent(key) { VDKeyDownEvent::assignType(); }
    void assignType() override;
};

// Raised by a window whose look changed; it travels up to the main window, which asks for a redraw.
class VDRedisplayRequestEvent : public VDEvent {
  public:
    VDRedisplayRequestEvent() {
        VDRedisplayRequestEvent::assignType();
        m_routing = ROUTE_UP;
    }
    void assignType() override;
};

class VDScrollValueEvent : public VDWindowEvent {
  public:
    VDScrollValueEvent(int sourceId, int value) : VDWindowEvent(sourceId), m_value(value) {
        VDScrollValueEvent::assignType();
        m_routing = ROUTE_UP;
    }
    void assignType() override;
    int getValue() const { return m_value; }

  private:
    int m_value;
};

class VDButtonPressEvent : public VDWindowEvent {
  public:
    explicit VDButtonPressEvent(int sourceId) : VDWindowEvent(sourceId) {
        VDButtonPressEvent::assignType();
        m_routing = ROUTE_UP;
    }
    void assignType() override;
};

class VDCloseEvent : public VDWindowEvent {
  public:
    explicit VDCloseEvent(int sourceId) : VDWindowEvent(sourceId) {
        VDCloseEvent::assignType();
        m_routing = ROUTE_UP;
    }
    void assignType() override;
};
