#include "console/VDStructureCommand.h"

#include "console/CommandArguments.h"
#include "control/VCModelView.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"

VDStructureCommand::VDStructureCommand() : VDConsoleCommand("vis_structure") {}
VDStructureCommand::~VDStructureCommand() = default;

bool VDStructureCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 2 || (tokens[1] != "on" && tokens[1] != "off")) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_on = tokens[1] == "on";
    commandargs::answer(reply, m_on ? "Showing the model structure..." : "Hiding the model structure...");
    return true;
}

void VDStructureCommand::execute() {
    dispose();
    VCSimulation* simulation = getSimulation();
    VCModelView* models = simulation != nullptr ? simulation->getModelView() : nullptr;
    if (models == nullptr) {
        logText("Unable to show or hide the model structure. Visualization does not exist.");
        return;
    }
    models->setShown(m_on);
    simulation->sceneChanged();
    logText(m_on ? "Model structure shown" : "Model structure hidden");
}
