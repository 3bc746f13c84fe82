#include "console/VDTimeCommand.h"

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"
#include "simdata/SDTime.h"
#include "simdata/SDVisualization.h"

VDTimeCommand::VDTimeCommand(const std::string& name)
    : VDConsoleCommand(name), m_move(name == "time_prev" ? Move::Previous : Move::Next) {}

VDTimeCommand::~VDTimeCommand() = default;

bool VDTimeCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (m_name != "time_goto") {
        if (tokens.size() != 1) {
            commandargs::answer(reply, commandargs::usage(m_name));
            return false;
        }
        commandargs::answer(
            reply, m_move == Move::Next ? "Moving to the next time..." : "Moving to the previous time...");
        return true;
    }
    if (tokens.size() != 2) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    if (tokens[1] == "start") {
        m_move = Move::Start;
    } else if (tokens[1] == "end") {
        m_move = Move::End;
    } else if (commandargs::simulatedTime(tokens[1], m_target)) {
        m_move = Move::Goto;
    } else {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    commandargs::answer(reply, "Moving to " + tokens[1] + "...");
    return true;
}

void VDTimeCommand::execute() {
    VCSimulation* simulation = getSimulation();
    if (simulation == nullptr || getVisualization() == nullptr) {
        logMessage("Unable to move the current time. Visualization does not exist.");
        dispose();
        return;
    }
    switch (m_move) {
        case Move::Next:
            simulation->timeNext();
            break;
        case Move::Previous:
            simulation->timePrevious();
            break;
        case Move::Start:
            simulation->timeFirst();
            break;
        case Move::End:
            simulation->timeLast();
            break;
        case Move::Goto:
            simulation->timeGoto(m_target);
            break;
    }
    logMessage("Current time: %s", SDTime(simulation->currentTime()).toString().c_str());
    dispose();
}
