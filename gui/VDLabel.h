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
    // A fitted label never writes past its rectangle: a text too long for it is cut short and ends in
    // "...". Off by default: the text runs on as far as it goes.
    void setFitted(bool fitted) { m_fitted = fitted; }
    bool isFitted() const { return m_fitted; }
    // `text` in at most `characters` characters: whole when it fits, else its start followed by "...".
    static std::string fitText(const std::string& text, int characters);

  protected:
    std::string m_text;
    bool m_fitted = false;
};
