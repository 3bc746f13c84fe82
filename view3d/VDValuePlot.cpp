#include "view3d/VDValuePlot.h"

#include <algorithm>

#include "control/VCSimulation.h"
#include "gui/VDPlotPanel.h"
#include "shell/Log.h"
#include "simdata/SDSeries.h"
#include "simdata/SDTime.h"

namespace {

VDPlotPanel::Series toPlot(SDSeries series) {
    VDPlotPanel::Series plotted;
    plotted.label = series.spread ? series.label + " min/mean/max" : series.label;
    plotted.x = std::move(series.times);
    plotted.y = std::move(series.values);
    plotted.low = std::move(series.minimum);
    plotted.high = std::move(series.maximum);
    return plotted;
}

std::string counted(size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

VDValuePlot::VDValuePlot(VDPlotPanel* panel) : m_panel(panel) {
    m_panel->setXFormatter([](double milliseconds) { return SDTime(milliseconds).toString(); });
    m_panel->setEnabled(false);
}

bool VDValuePlot::isOpen() const {
    return m_panel->isEnabled() && !m_hidden;
}

bool VDValuePlot::hasSeries() const {
    return m_panel->isEnabled();
}

bool VDValuePlot::add(const VCSeriesTarget& target) {
    VCSimulation* simulation = getSimulation();
    // What is shown already must be of the same run as what joins it.
    if (!m_targets.empty() && simulation != nullptr && simulation->getRunRevision() != m_runRevision) {
        refresh(simulation);
    }
    SDSeries series;
    std::string error;
    if (!target.fetch(series, error)) {
        logText("Unable to plot " + target.text() + ": " + error);
        return false;
    }
    if (std::find(m_targets.begin(), m_targets.end(), target) != m_targets.end()) {
        logText(series.label + " is in the plot already");
        return false;
    }
    if (m_targets.size() >= VDPlotPanel::kMaxSeries) {
        logText("The plot holds " + std::to_string(VDPlotPanel::kMaxSeries) +
                " series at most: vis_plot clear empties it");
        return false;
    }
    const std::string label = series.label;
    const size_t points = series.size();
    const bool spread = series.spread;
    m_panel->addSeries(toPlot(std::move(series)));
    m_targets.push_back(target);
    m_runRevision = simulation != nullptr ? simulation->getRunRevision() : 0;
    setSpan(simulation);
    m_panel->setEnabled(true);
    // Asked for a series, the user wants to see it.
    m_hidden = false;
    if (spread) {
        logText("Plotting " + label + ": the minimum, mean and maximum of its cells at " +
                counted(points, "event time", "event times"));
    } else {
        logText("Plotting " + label + ": " + counted(points, "value", "values"));
    }
    return true;
}

void VDValuePlot::clear() {
    m_targets.clear();
    m_panel->clearSeries();
    m_panel->setEnabled(false);
}

void VDValuePlot::follow(VCSimulation* simulation) {
    if (m_targets.empty()) {
        return;
    }
    if (simulation == nullptr || getVisualization() == nullptr) {
        clear();
        return;
    }
    if (simulation->getRunRevision() != m_runRevision) {
        refresh(simulation);
        if (m_targets.empty()) {
            return;
        }
    }
    m_panel->setCursor(simulation->currentTime());
}

void VDValuePlot::refresh(VCSimulation* simulation) {
    m_runRevision = simulation->getRunRevision();
    std::vector<VCSeriesTarget> kept;
    m_panel->clearSeries();
    for (const VCSeriesTarget& target : m_targets) {
        SDSeries series;
        std::string error;
        if (target.fetch(series, error)) {
            m_panel->addSeries(toPlot(std::move(series)));
            kept.push_back(target);
        } else {
            logText("Removed " + target.text() + " from the plot: " + error);
        }
    }
    m_targets.swap(kept);
    if (m_targets.empty()) {
        m_panel->setEnabled(false);
        return;
    }
    setSpan(simulation);
}

void VDValuePlot::setSpan(VCSimulation* simulation) {
    const size_t count = simulation != nullptr ? simulation->timeCount() : 0;
    if (count == 0) {
        m_panel->setXSpan(0.0, 0.0);
        return;
    }
    // From the start (or the first event time, should it come earlier) to the last event time.
    m_panel->setXSpan(std::min(0.0, simulation->timeAt(0)), simulation->timeAt(count - 1));
}

void VDValuePlot::pick(VCSimulation* simulation, double milliseconds) {
    double nearest = 0.0;
    if (simulation != nullptr && simulation->nearestEventTime(milliseconds, nearest)) {
        simulation->timeGoto(nearest);
    }
}
