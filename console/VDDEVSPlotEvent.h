#pragma once

#include "control/VCSeriesTarget.h"
#include "gui/VDEvent.h"

// Asks the 3D view to add a series to its plot, or to empty the plot. The view says what came of it in
// the log; `handled` tells the sender that a view heard it at all.
class VDDEVSPlotEvent : public VDEvent {
  public:
    static constexpr int TYPE = 65230;

    // Adds the series of `target`.
    explicit VDDEVSPlotEvent(const VCSeriesTarget& target);
    // Empties the plot.
    VDDEVSPlotEvent();
    // Empties the plot without a word: the run its series were read from is closed.
    static VDDEVSPlotEvent runClosed();
    void assignType() override;

    bool isClear() const { return m_clear; }
    bool isRunClosed() const { return m_runClosed; }
    const VCSeriesTarget& getTarget() const { return m_target; }
    bool handled = false;

  private:
    bool m_clear;
    bool m_runClosed = false;
    VCSeriesTarget m_target;
};
