#include "shell/app/CommandLineCommands.h"

#include <cstdint>
#include <cstdio>

#include "control/VCSimulation.h"
#include "gui/VDConsoleCommand.h"
#include "shell/ConsoleChannel.h"
#include "shell/Log.h"

void CommandLineCommands::start() {
    if (m_started) {
        return;
    }
    m_started = true;
    runNext();
}

void CommandLineCommands::advance() {
    VCSimulation* simulation = getSimulation();
    if (!m_started || m_done || (simulation != nullptr && simulation->isImporting())) {
        return;
    }
    if (m_waiting) {
        noteImportEnd();
    }
    runNext();
}

void CommandLineCommands::runNext() {
    while (!m_done && m_next < m_lines.size()) {
        if (runLine(m_lines[m_next++])) {
            VCSimulation* simulation = getSimulation();
            if (simulation != nullptr && simulation->isImporting()) {
                return;  // read in slices; advance() follows its end
            }
            noteImportEnd();
        }
    }
    m_done = true;
}

bool CommandLineCommands::runLine(const std::string& line) {
    VDConsoleCommand* command = nullptr;
    std::string reply;
    const unsigned long logged = logFileTextCount();
    const bool parsed = m_parser.parse(line, &command, reply);
    if (!reply.empty()) {
        // The newer commands write their reply to the log file themselves: the console still shows it.
        if (logFileTextCount() != logged) {
            consolePrint(reply);
        } else {
            logText(reply);
        }
    }
    if (!parsed || command == nullptr) {
        std::fprintf(stderr, "tessaron: --command '%s': %s\n", line.c_str(), reply.c_str());
        m_allRan = false;
        return false;
    }
    VCSimulation* simulation = getSimulation();
    const uint64_t imports = simulation != nullptr ? simulation->getImportCount() : 0;
    // The command disposes of itself.
    command->execute();
    m_parser.commandExecuted();
    simulation = getSimulation();
    m_waiting = simulation != nullptr && simulation->getImportCount() != imports;
    return m_waiting;
}

void CommandLineCommands::noteImportEnd() {
    m_waiting = false;
    VCSimulation* simulation = getSimulation();
    if (simulation == nullptr) {
        return;
    }
    const std::string& failure = simulation->getImportFailure();
    if (!failure.empty()) {
        std::fprintf(stderr, "tessaron: --command '%s': %s\n", m_lines[m_next - 1].c_str(), failure.c_str());
        m_allRan = false;
    }
    // The user asked to stop: what was to follow the import does not run either.
    if (simulation->wasImportCancelled()) {
        m_done = true;
    }
}
