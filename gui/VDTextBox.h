#pragma once

#include <string>

#include "gui/VDStringLog.h"
#include "gui/VDWindow.h"

class VDScrollBar;

// A read-only, scrollable block of lines: the newest line at the bottom, older ones above it, with an
// optional vertical scroll bar along the right edge.
class VDTextBox : public VDWindow {
  public:
    explicit VDTextBox(bool hasScrollBar);
    ~VDTextBox() override;

    bool handleEvent(VDEvent* event) override;
    // Creates the scroll bar, when the box has one, and lays it out.
    void initialise() override;
    // Keeps the scroll bar in the right-hand strip; other children are not scaled.
    void setRectangle(const VDRect& rect) override;
    // How many of the newest lines are skipped when drawing.
    virtual int getFirstLine() const;
    virtual void setCapacity(int capacity);
    // Limited to 0..count.
    virtual void setFirstLine(int line);
    virtual const VDStringLog& getLog() const;
    virtual void addLine(const std::string& text);

    float getScrollBarWidth() const { return m_scrollBarWidth; }
    VDScrollBar* getScrollBar() const { return m_scrollBar; }

  private:
    bool m_hasScrollBar;
    int m_firstLine = 0;
    VDStringLog m_log;
    VDScrollBar* m_scrollBar = nullptr;  // one of m_children
    float m_scrollBarWidth;
};
