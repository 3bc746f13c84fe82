#include "shell/app/OpenLogs.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "console/VDFitViewCommand.h"
#include "control/VCPalette.h"
#include "control/VCSimulation.h"
#include "loader/SLScenarioFile.h"
#include "shell/Log.h"
#include "shell/app/CommandLine.h"
#include "simdata/SDTime.h"
#include "simdata/SDVisualization.h"

CommandLineImports::CommandLineImports(std::vector<std::string> logs) {
    std::vector<std::string> scenarios;
    for (std::string& log : logs) {
        if (SLScenarioFile::looksLike(log)) {
            scenarios.push_back(std::move(log));
        } else {
            m_modelFiles.push_back(isModelFileName(log));
            m_logs.push_back(std::move(log));
        }
    }
    m_logs.insert(m_logs.begin(), scenarios.begin(), scenarios.end());
    m_modelFiles.insert(m_modelFiles.begin(), scenarios.size(), true);
}

void CommandLineImports::start() {
    if (m_started) {
        return;
    }
    m_started = true;
    VCSimulation* simulation = getSimulation();
    if (m_logs.empty() || simulation == nullptr) {
        m_allImported = m_logs.empty();
        m_done = true;
        return;
    }
    std::string first = m_logs.front();
    for (size_t i = 0; i < m_logs.size(); ++i) {
        if (!m_modelFiles[i]) {
            first = m_logs[i];
            break;
        }
    }
    const std::string name = visualizationNameFor(first);
    logMessage("Creating new visualization context named: %s", name.c_str());
    if (!simulation->newVisualization(name)) {
        std::fprintf(stderr, "tessaron: cannot open a visualization named %s\n", name.c_str());
        m_allImported = false;
        m_done = true;
        return;
    }
    startNext();
}

void CommandLineImports::advance() {
    VCSimulation* simulation = getSimulation();
    if (!m_started || m_done || simulation == nullptr || simulation->isImporting()) {
        return;
    }
    noteEnd();
    startNext();
}

void CommandLineImports::startNext() {
    VCSimulation* simulation = getSimulation();
    while (!m_done && m_next < m_logs.size()) {
        const bool modelFile = m_modelFiles[m_next];
        const std::string& log = m_logs[m_next++];
        bool started = false;
        if (modelFile) {
            logMessage("Importing model file: %s", log.c_str());
            started = simulation->startModelFile(log);
        } else {
            logMessage("Importing simulation results from log file: %s", log.c_str());
            started = simulation->startImport(log);
        }
        if (started && simulation->isImporting()) {
            return;  // read in slices; advance() follows its end
        }
        noteEnd();
    }
    m_done = true;
}

void CommandLineImports::noteEnd() {
    if (m_next == 0) {
        return;
    }
    VCSimulation* simulation = getSimulation();
    const std::string& log = m_logs[m_next - 1];
    const std::string& failure = simulation->getImportFailure();
    if (m_modelFiles[m_next - 1]) {
        noteModelFileEnd(log);
    } else if (!failure.empty()) {
        // Some reasons name the log already ("<log> holds no simulation messages").
        if (failure.compare(0, log.size() + 1, log + " ") == 0) {
            std::fprintf(stderr, "tessaron: %s\n", failure.c_str());
        } else {
            std::fprintf(stderr, "tessaron: %s: %s\n", log.c_str(), failure.c_str());
        }
        m_allImported = false;
    }
    // The user asked to stop: the logs after it are not read either.
    if (simulation->wasImportCancelled()) {
        m_done = true;
    }
}

void CommandLineImports::noteModelFileEnd(const std::string& path) {
    VCSimulation* simulation = getSimulation();
    const std::string& failure = simulation->getImportFailure();
    if (!failure.empty()) {
        std::fprintf(stderr, "tessaron: %s: %s\n", path.c_str(), failure.c_str());
        m_allImported = false;
    }
    for (const std::string& error : simulation->getModelFileErrors()) {
        std::fprintf(stderr, "tessaron: %s: %s\n", path.c_str(), error.c_str());
    }
}

bool applyCommandLinePalettes(const std::vector<CommandLine::Palette>& palettes) {
    bool all = true;
    for (const CommandLine::Palette& palette : palettes) {
        std::string failure;
        std::vector<std::string> errors;
        const bool applied = applyPalette(palette.model, palette.file, failure, errors);
        for (const std::string& error : errors) {
            std::fprintf(stderr, "tessaron: %s: %s\n", palette.file.c_str(), error.c_str());
        }
        if (!applied) {
            std::fprintf(stderr, "tessaron: %s: %s\n", palette.file.c_str(), failure.c_str());
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

double CursorClock::timeAt(size_t index) {
    return m_simulation.timeAt(index);
}

bool CursorClock::goToTime(double milliseconds) {
    // A move to where the cursor stands already is no failure.
    m_simulation.timeGoto(milliseconds);
    return true;
}

bool CursorClock::next() {
    return m_simulation.timeNext();
}

bool CursorClock::toStart() {
    if (m_simulation.timeCount() == 0 || !(m_simulation.timeAt(0) > 0.0)) {
        return false;
    }
    m_simulation.timeGoto(0.0);
    return m_simulation.currentTime() == 0.0 && m_simulation.currentTimeIndex() == -1;
}
