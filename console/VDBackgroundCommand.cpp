#include "console/VDBackgroundCommand.h"

#include "console/CommandArguments.h"
#include "control/VCCellView.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"

VDBackgroundCommand::VDBackgroundCommand() : VDConsoleCommand("vis_background") {}
VDBackgroundCommand::~VDBackgroundCommand() = default;

bool VDBackgroundCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 3 || (tokens[2] != "hide" && tokens[2] != "show")) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_model = tokens[1];
    m_shown = tokens[2] == "show";
    commandargs::answer(reply, "Setting the background...");
    return true;
}

void VDBackgroundCommand::execute() {
    dispose();
    VCSimulation* simulation = getSimulation();
    VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    if (commandargs::cellSpace(m_model, "set the background") == nullptr || cells == nullptr) {
        return;
    }
    cells->updateLayout();
    if (!cells->setBackgroundShown(m_model, m_shown)) {
        logText(m_model + " has a single layer along z: all its cells are drawn");
        return;
    }
    logText(cells->backgroundReport(m_model));
}
