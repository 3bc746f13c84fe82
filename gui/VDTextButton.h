#pragma once

#include <string>

#include "gui/VDButton.h"

// A button with a caption; the kind of button that is drawn.
class VDTextButton : public VDButton {
  public:
    VDTextButton();
    ~VDTextButton() override;

    bool handleEvent(VDEvent* event) override;
    void setCaption(const std::string& caption) { m_caption = caption; }
    const std::string& getCaption() const { return m_caption; }

  private:
    std::string m_caption;
};
