#include "console/VDCellCommand.h"

#include "console/CommandArguments.h"
#include "control/VCCellReading.h"
#include "shell/Log.h"

VDCellCommand::VDCellCommand() : VDConsoleCommand("vis_cell") {}
VDCellCommand::~VDCellCommand() = default;

bool VDCellCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    bool numbers = tokens.size() >= 3 && tokens.size() <= 5;
    for (size_t i = 2; numbers && i < tokens.size(); ++i) {
        numbers = commandargs::integer(tokens[i], m_coordinates[i - 2]);
    }
    if (!numbers) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_model = tokens[1];
    commandargs::answer(reply, "Looking up cell...");
    return true;
}

void VDCellCommand::execute() {
    dispose();
    logText(VCCellReading::read(m_model, m_coordinates[0], m_coordinates[1], m_coordinates[2]).describe());
}
