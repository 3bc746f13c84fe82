#pragma once

#include "gui/VDWindow.h"

// A bar with a draggable thumb over the values 0 to m_max; a change of value raises a VDScrollValueEvent
// to the parent. Vertical bars put value 0 at the top, horizontal ones at the left.
//
// By default only the thumb can be grabbed, and a drag follows the pointer while it stays over the bar.
// A bar that lets the pointer place its thumb (a slider) also jumps to a press anywhere on the track: the
// thumb's middle goes under the pointer, and while the button is held it follows the pointer along the bar
// wherever the pointer is across it.
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
    // Stores `value` clamped to 0..m_max without reporting it: for an owner that shows a value it keeps
    // itself.
    void showValue(int value);
    // The value whose thumb has its middle nearest to the point, along the bar's length.
    int valueAt(float x, float y) const;
    void setPointerPlacesThumb(bool places) { m_pointerPlacesThumb = places; }
    bool pointerPlacesThumb() const { return m_pointerPlacesThumb; }
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
    int clamp(int value) const;
    // The distance the thumb travels per value step.
    float step() const;

    int m_value = 0;
    int m_max = 0;
    float m_grabY = 0.0f;
    int m_grabValue = 0;
    int m_orientation = VERTICAL;
    float m_thumbSize = 0.0f;
    bool m_dragging = false;
    bool m_pointerPlacesThumb = false;
};
