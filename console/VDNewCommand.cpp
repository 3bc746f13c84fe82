#include "console/VDNewCommand.h"

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"

VDNewCommand::VDNewCommand() : VDConsoleCommand("vis_new") {}
VDNewCommand::~VDNewCommand() = default;

bool VDNewCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 2) {
        reply = commandargs::usage(m_name);
        return false;
    }
    std::string name = tokens[1];
    if (name.find(".vis") == std::string::npos) {
        name += ".vis";
    }
    setVisualizationName(name);
    reply = "Creating new visualization context named: " + name;
    return true;
}

void VDNewCommand::execute() {
    // The controller prints its own refusal when a visualization is open.
    if (VCSimulation* simulation = getSimulation()) {
        simulation->newVisualization(m_visualizationName);
    }
    dispose();
}
