#pragma once

#include "gui/VDWindow.h"

// A push button. A press completes when the left button is released inside it after being pressed inside
// it, or when Enter is pressed and released while it has the focus; it then raises a VDButtonPressEvent
// carrying its id to its parent.
class VDButton : public VDWindow {
  public:
    VDButton();
    ~VDButton() override;

    bool handleEvent(VDEvent* event) override;
    // A press whose release will go elsewhere is dropped without raising a press event.
    void inputLost() override;
    // Losing the focus also releases the button.
    virtual void setFocused(bool focused);

    bool isHover() const { return m_hover; }
    bool isPressed() const { return m_pressed; }

  protected:
    // Releases the button and reports the press to the parent.
    void complete();

    bool m_hover = false;
    bool m_pressed = false;
};
