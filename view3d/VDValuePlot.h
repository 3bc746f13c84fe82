#pragma once

#include <cstdint>
#include <vector>

#include "control/VCSeriesTarget.h"

class VCSimulation;
class VDPlotPanel;

// What the 3D view's plot panel shows: the series the user asked for (by vis_plot or Shift+click), read
// from the open run and read again whenever the run changes, against the run's time, with the current
// time as the plot's cursor. It says in the log what each request came to.
class VDValuePlot {
  public:
    // The panel belongs to the view's windows; it is closed (disabled) while the plot is empty.
    explicit VDValuePlot(VDPlotPanel* panel);

    // Adds the series of `target` and opens (and shows) the panel: "Plotting life(3,4): 12 values". Refused,
    // with the reason, when the series cannot be read, is shown already or the plot is full.
    bool add(const VCSeriesTarget& target);
    // Empties the plot and closes the panel.
    void clear();
    // Each frame: reads the series again after the run changed (dropping those it no longer has, and all
    // of them once the visualization is closed) and puts the cursor at the current time.
    void follow(VCSimulation* simulation);
    // A place picked in the plot: the time cursor goes to the event time nearest it.
    void pick(VCSimulation* simulation, double milliseconds);

    // Drawn and given the pointer: it has a series and is not hidden.
    bool isOpen() const;
    bool hasSeries() const;
    // vis_plot hide and show: the series stay; adding one shows the plot again.
    void setHidden(bool hidden) { m_hidden = hidden; }
    bool isHidden() const { return m_hidden; }
    const std::vector<VCSeriesTarget>& getTargets() const { return m_targets; }

  private:
    void refresh(VCSimulation* simulation);
    void setSpan(VCSimulation* simulation);

    VDPlotPanel* m_panel;
    std::vector<VCSeriesTarget> m_targets;  // one per series of the panel, in its order
    uint64_t m_runRevision = 0;
    bool m_hidden = false;
};
