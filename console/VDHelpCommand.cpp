#include "console/VDHelpCommand.h"

#include "console/CommandArguments.h"
#include "console/CommandTable.h"
#include "shell/Log.h"

VDHelpCommand::VDHelpCommand() : VDConsoleCommand("help") {}
VDHelpCommand::~VDHelpCommand() = default;

bool VDHelpCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() > 2) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    if (tokens.size() == 2) {
        if (commandtable::find(tokens[1]) == nullptr) {
            commandargs::answer(reply, "Unknown command: " + tokens[1] + " (help lists every command)");
            return false;
        }
        m_topic = tokens[1];
    }
    // The lines themselves are the answer.
    reply.clear();
    return true;
}

void VDHelpCommand::execute() {
    dispose();
    if (!m_topic.empty()) {
        const CommandEntry* entry = commandtable::find(m_topic);
        logText(commandtable::usage(entry->name));
        logText(std::string("  ") + entry->summary);
        return;
    }
    logText("Commands (help <command> says what one does):");
    for (const CommandEntry& entry : commandtable::entries()) {
        logText(std::string("  ") + entry.name + entry.arguments);
    }
}
