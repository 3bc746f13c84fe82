#pragma once

#include "control/VCSeriesTarget.h"
#include "gui/VDEvent.h"

// Asks the 3D view to add a series to its plot, to empty, hide or show the plot, or to place it. The view
// says what came of it in the log; `handled` tells the sender that a view heard it at all.
class VDDEVSPlotEvent : public VDEvent {
  public:
    static constexpr int TYPE = 65230;

    // Adds the series of `target`.
    explicit VDDEVSPlotEvent(const VCSeriesTarget& target);
    // Empties the plot.
    VDDEVSPlotEvent();
    // Empties the plot without a word: the run its series were read from is closed.
    static VDDEVSPlotEvent runClosed();
    static VDDEVSPlotEvent hidden(bool hide);
    // Its top-left corner x, y pixels from the window's top-left corner, at that size in pixels.
    static VDDEVSPlotEvent placed(long long x, long long y, long long width, long long height);
    void assignType() override;

    bool isClear() const { return m_clear; }
    bool isRunClosed() const { return m_runClosed; }
    const VCSeriesTarget& getTarget() const { return m_target; }
    // Neither adds nor clears: hides, shows or places the plot.
    bool isHide() const { return m_hide; }
    bool isShow() const { return m_show; }
    bool isPlace() const { return m_place; }
    // The place asked for: x, y, width, height.
    const long long* getPlace() const { return m_rect; }
    bool handled = false;

  private:
    bool m_clear;
    bool m_runClosed = false;
    bool m_hide = false;
    bool m_show = false;
    bool m_place = false;
    long long m_rect[4] = {0, 0, 0, 0};
    VCSeriesTarget m_target;
};
