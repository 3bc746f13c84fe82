#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/VDScrollBar.h"

class VCSimulation;

// The run on a horizontal bar: the left end is the first event time, the right end the last, and the
// thumb marks the current time. A press anywhere on the bar, or a drag along it, asks for the event time
// nearest to the place under the pointer (a VDScrollValueEvent to the parent, as any scroll bar raises).
// Without a run of at least one event time the bar is not drawn.
//
// Each event time has a tick where the thumb's middle would stand for it; where more than one falls on a
// pixel, a column is shaded by how many fall on it. While the pointer is over the bar, the event time a
// press there would go to is written just below it.
class VDTimeBar : public VDScrollBar {
  public:
    // Values along the bar: the run's span in this many equal parts.
    static constexpr int kResolution = 1000;

    VDTimeBar();
    ~VDTimeBar() override;

    bool handleEvent(VDEvent* event) override;

    // Takes the span, the event times and the current time from the controller (null: no run), without
    // raising an event.
    void follow(VCSimulation* simulation);
    bool hasRun() const { return m_hasRun; }
    // The event time nearest to the time at `value` on the bar; false without a run.
    bool eventTimeAt(VCSimulation& simulation, int value, double& milliseconds) const;

    // How many event times fall on each of `columns` pixel columns spread evenly from `first` to `last`
    // (column 0 holds `first`, the last column `last`); times outside are left out.
    static std::vector<uint32_t> tickCounts(const std::vector<double>& times, double first, double last,
                                            int columns);
    // The pixel column of the leftmost tick and the number of columns the ticks span.
    float tickStart() const;
    int tickColumns() const;
    const std::vector<uint32_t>& getTickCounts() const { return m_ticks; }

    // While the pointer is over the bar: the event time it points at, written as the bar writes it.
    bool isHovering() const { return m_hovering; }
    const std::string& getHoverText() const { return m_hoverText; }

  private:
    void draw() const;

    bool m_hasRun = false;
    double m_first = 0.0;
    double m_last = 0.0;
    // The ticks as counted for this run, span and width.
    std::vector<uint32_t> m_ticks;
    size_t m_tickedTimes = 0;
    double m_tickedFirst = 0.0;
    double m_tickedLast = 0.0;
    int m_tickedColumns = 0;
    uint64_t m_tickedRun = 0;
    bool m_hovering = false;
    float m_hoverX = 0.0f;
    std::string m_hoverText;
};
