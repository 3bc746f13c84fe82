#include "console/VDAddDetailNodeCommand.h"

#include <cstdio>

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"
#include "shell/PropertySet.h"

namespace {

std::string asText(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return text;
}

}  // namespace

VDAddDetailNodeCommand::VDAddDetailNodeCommand() : VDConsoleCommand("vis_add_detail_node") {}
VDAddDetailNodeCommand::~VDAddDetailNodeCommand() = default;

bool VDAddDetailNodeCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 6 || tokens[1] != "CUBE") {
        reply = commandargs::usage(m_name);
        return false;
    }
    setNodeType("CUBE");
    setPosition(commandargs::number(tokens[2]), commandargs::number(tokens[3]),
                commandargs::number(tokens[4]));
    setSize(commandargs::number(tokens[5]));
    reply = "Adding node object...";
    return true;
}

void VDAddDetailNodeCommand::setNodeType(const std::string& nodeType) {
    m_nodeType = nodeType;
}

void VDAddDetailNodeCommand::setPosition(float x, float y, float z) {
    m_x = x;
    m_y = y;
    m_z = z;
}

void VDAddDetailNodeCommand::setSize(float size) {
    m_size = size;
}

void VDAddDetailNodeCommand::execute() {
    VCSimulation* simulation = getSimulation();
    if (simulation == nullptr) {
        commandargs::say("Unable to add detail node. SimulationControl object does not exist.");
    } else {
        PropertySet properties;
        properties.set("type", "CUBE");
        properties.set("position_x", asText(m_x));
        properties.set("position_y", asText(m_y));
        properties.set("position_z", asText(m_z));
        properties.set("size", asText(m_size));
        simulation->addDetailNode(properties);
    }
    dispose();
}
