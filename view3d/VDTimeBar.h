#pragma once

#include "gui/VDScrollBar.h"

class VCSimulation;

// The run on a horizontal bar: the left end is the first event time, the right end the last, and the
// thumb marks the current time. A press anywhere on the bar, or a drag along it, asks for the event time
// nearest to the place under the pointer (a VDScrollValueEvent to the parent, as any scroll bar raises).
// Without a run of at least one event time the bar is not drawn.
class VDTimeBar : public VDScrollBar {
  public:
    // Values along the bar: the run's span in this many equal parts.
    static constexpr int kResolution = 1000;

    VDTimeBar();
    ~VDTimeBar() override;

    bool handleEvent(VDEvent* event) override;

    // Takes the span and the current time from the controller (null: no run), without raising an event.
    void follow(VCSimulation* simulation);
    bool hasRun() const { return m_hasRun; }
    // The event time nearest to the time at `value` on the bar; false without a run.
    bool eventTimeAt(VCSimulation& simulation, int value, double& milliseconds) const;

  private:
    bool m_hasRun = false;
    double m_first = 0.0;
    double m_last = 0.0;
};
