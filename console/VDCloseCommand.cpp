#include "console/VDCloseCommand.h"

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"

VDCloseCommand::VDCloseCommand() : VDConsoleCommand("vis_close") {}
VDCloseCommand::~VDCloseCommand() = default;

bool VDCloseCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 1) {
        reply = commandargs::usage(m_name);
        return false;
    }
    reply = "Closing visualization context...";
    return true;
}

void VDCloseCommand::execute() {
    if (VCSimulation* simulation = getSimulation()) {
        simulation->closeVisualization();
    }
    dispose();
}
