#include "console/VDMessagesCommand.h"

#include "console/CommandArguments.h"
#include "control/VCMessageReading.h"
#include "shell/Log.h"

VDMessagesCommand::VDMessagesCommand() : VDConsoleCommand("vis_messages") {}
VDMessagesCommand::~VDMessagesCommand() = default;

bool VDMessagesCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() > 2) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    // A blank left after the name (as Tab leaves it) asks for every message.
    m_model = tokens.size() == 2 ? tokens[1] : std::string();
    commandargs::answer(reply, "Listing messages...");
    return true;
}

void VDMessagesCommand::execute() {
    dispose();
    for (const std::string& line : VCMessageReading::read(m_model).lines) {
        logText(line);
    }
}
