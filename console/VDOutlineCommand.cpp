#include "console/VDOutlineCommand.h"

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"

VDOutlineCommand::VDOutlineCommand() : VDConsoleCommand("vis_outline") {}
VDOutlineCommand::~VDOutlineCommand() = default;

bool VDOutlineCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 2 || (tokens[1] != "on" && tokens[1] != "off")) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_on = tokens[1] == "on";
    commandargs::answer(reply, "Setting the cubes' edges...");
    return true;
}

void VDOutlineCommand::execute() {
    dispose();
    VCSimulation* simulation = getSimulation();
    if (simulation == nullptr) {
        logText("Unable to set the cubes' edges: there is no simulation controller");
        return;
    }
    simulation->setCellOutlines(m_on);
    logText(m_on ? "Cubes drawn with their edges" : "Cubes drawn without edges");
}
