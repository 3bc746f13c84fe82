#pragma once

// The pointer position and the state of up to five buttons. Part of the toolkit's vocabulary; the events
// carry their own coordinates, so nothing in the toolkit fills one in.
class VDMouse {
  public:
    static constexpr int BUTTON_COUNT = 5;

    VDMouse() = default;
    VDMouse(const VDMouse&) = default;
    VDMouse& operator=(const VDMouse&) = default;
    virtual ~VDMouse() = default;

    int m_x = 0;
    int m_y = 0;
    int m_buttons[BUTTON_COUNT] = {0, 0, 0, 0, 0};
};
