#include "console/VDModelCommand.h"

#include "console/CommandArguments.h"
#include "control/VCModelReading.h"
#include "shell/Log.h"

VDModelCommand::VDModelCommand() : VDConsoleCommand("vis_model") {}
VDModelCommand::~VDModelCommand() = default;

bool VDModelCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 2 || tokens[1].empty()) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_model = tokens[1];
    commandargs::answer(reply, "Describing model...");
    return true;
}

void VDModelCommand::execute() {
    dispose();
    for (const std::string& line : VCModelReading::read(m_model).lines) {
        logText(line);
    }
}
