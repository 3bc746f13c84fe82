#include "shell/app/OpenLogs.h"

#include <cstdio>

#include "control/VCSimulation.h"
#include "shell/Log.h"
#include "shell/app/CommandLine.h"

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
    // The view cannot frame a run by itself yet: the camera keeps its start place, from which the "life"
    // block is in view.
}

bool moveTimeCursor(const std::string& time) {
    std::fprintf(stderr, "tessaron: --time %s: there is no time cursor yet; the run is shown as imported\n",
                 time.c_str());
    return false;
}
