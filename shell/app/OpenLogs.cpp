#include "shell/app/OpenLogs.h"

#include <cstdio>
#include <memory>

#include "console/VDFitViewCommand.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"
#include "shell/app/CommandLine.h"
#include "simdata/SDTime.h"
#include "simdata/SDVisualization.h"

bool openLogs(const std::vector<std::string>& logs) {
    VCSimulation* simulation = getSimulation();
    if (logs.empty() || simulation == nullptr) {
        return logs.empty();
    }
    const std::string name = visualizationNameFor(logs.front());
    logMessage("Creating new visualization context named: %s", name.c_str());
    if (!simulation->newVisualization(name)) {
        std::fprintf(stderr, "tessaron: cannot open a visualization named %s\n", name.c_str());
        return false;
    }
    bool all = true;
    for (const std::string& log : logs) {
        logMessage("Importing simulation results from log file: %s", log.c_str());
        if (!simulation->importLogFile(log)) {
            std::fprintf(stderr, "tessaron: %s: %s\n", log.c_str(), simulation->getImportFailure().c_str());
            all = false;
        }
    }
    return all;
}

void fitViewToRun() {
    // As vis_fit does it, with the same report; the command hands itself to the garbage can when done.
    std::make_unique<VDFitViewCommand>().release()->execute();
}

bool moveTimeCursor(const std::string& time) {
    VCSimulation* simulation = getSimulation();
    if (simulation == nullptr || getVisualization() == nullptr) {
        std::fprintf(stderr, "tessaron: --time %s: no run is open\n", time.c_str());
        return false;
    }
    // A move to where the cursor stands already changes nothing and is no failure.
    if (time == "start") {
        simulation->timeFirst();
    } else if (time == "end") {
        simulation->timeLast();
    } else {
        SDTime target;
        target.parse(time);
        simulation->timeGoto(target.getMilliseconds());
    }
    logMessage("Current time: %s", SDTime(simulation->currentTime()).toString().c_str());
    return true;
}

size_t CursorClock::count() {
    return m_simulation.timeCount();
}

bool CursorClock::goTo(size_t index) {
    if (index >= m_simulation.timeCount()) {
        return false;
    }
    m_simulation.timeGoto(m_simulation.timeAt(index));
    return m_simulation.currentTimeIndex() == static_cast<long>(index);
}

bool CursorClock::next() {
    return m_simulation.timeNext();
}
