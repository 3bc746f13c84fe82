#include "console/VDFieldCommand.h"

#include <climits>

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"

VDFieldCommand::VDFieldCommand() : VDConsoleCommand("vis_field") {}
VDFieldCommand::~VDFieldCommand() = default;

bool VDFieldCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    long long field = 0;
    if (tokens.size() != 3 || tokens[1].empty() || !commandargs::integer(tokens[2], field)) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    if (field < 0 || field > INT_MAX) {
        commandargs::answer(reply, "Numbers of a state count from 0: " + tokens[2] + " is none of them");
        return false;
    }
    m_model = tokens[1];
    m_field = static_cast<int>(field);
    commandargs::answer(reply, "Choosing the field...");
    return true;
}

void VDFieldCommand::execute() {
    dispose();
    VCSimulation* simulation = getSimulation();
    if (simulation == nullptr) {
        return;
    }
    for (const std::string& line : simulation->chooseField(m_model, m_field)) {
        logText(line);
    }
}
