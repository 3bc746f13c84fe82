#include "console/VDChangesCommand.h"

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"

VDChangesCommand::VDChangesCommand() : VDConsoleCommand("vis_changes") {}
VDChangesCommand::~VDChangesCommand() = default;

bool VDChangesCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() == 1) {
        m_action = Action::Report;
        return true;
    }
    if (tokens.size() != 2 || (tokens[1] != "on" && tokens[1] != "off")) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_action = tokens[1] == "on" ? Action::On : Action::Off;
    commandargs::answer(reply, "Setting the frames of changes...");
    return true;
}

void VDChangesCommand::execute() {
    dispose();
    VCSimulation* simulation = getSimulation();
    if (simulation == nullptr) {
        logText("Unable to set the frames of changes: there is no simulation controller");
        return;
    }
    if (m_action != Action::Report) {
        simulation->setChangeOutlines(m_action == Action::On);
    }
    logText(simulation->getChangeOutlines()
                ? "Changes framed: cells and blocks that changed at the current time"
                : "Changes not framed");
}
