#pragma once

#include <string>

#include "gui/VDWindow.h"

// One line of text.
class VDLabel : public VDWindow {
  public:
    VDLabel();
    ~VDLabel() override;

    // Draws on a redisplay; claims nothing and passes nothing on.
    bool handleEvent(VDEvent* event) override;
    virtual void setText(const std::string& text);
    std::string getText() const { return m_text; }

  protected:
    std::string m_text;
};
