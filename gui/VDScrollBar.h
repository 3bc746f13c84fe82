#pragma once

#include "gui/VDWindow.h"

// A bar with a draggable thumb over the values 0 to m_max; a change of value raises a VDScrollValueEvent
// to the parent. Vertical bars put value 0 at the top.
class VDScrollBar : public VDWindow {
  public:
    static constexpr int VERTICAL = 0;
    static constexpr int HORIZONTAL = 1;

    VDScrollBar();
    ~VDScrollBar() override;

    bool handleEvent(VDEvent* event) override;
    void setRectangle(const VDRect& rect) override;
    // Ends a thumb drag in progress.
    void inputLost() override;

    // Stores `value` clamped to 0..m_max and reports it, unless it equals the current value.
    void setValue(int value);
    void setMax(int max);
    void setOrientation(int orientation);
    // The thumb's rectangle for the current value.
    VDRect getThumbRect() const;

    int getValue() const { return m_value; }
    int getMax() const { return m_max; }
    int getOrientation() const { return m_orientation; }
    float getThumbSize() const { return m_thumbSize; }
    bool isDragging() const { return m_dragging; }

  private:
    void updateThumbSize();
    // The distance the thumb travels per value step.
    float step() const;

    int m_value = 0;
    int m_max = 0;
    float m_grabY = 0.0f;
    int m_grabValue = 0;
    int m_orientation = VERTICAL;
    float m_thumbSize = 0.0f;
    bool m_dragging = false;
};
