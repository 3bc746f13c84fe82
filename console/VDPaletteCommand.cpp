#include "console/VDPaletteCommand.h"

#include "console/CommandArguments.h"
#include "control/VCPalette.h"

VDPaletteCommand::VDPaletteCommand() : VDConsoleCommand("vis_palette") {}
VDPaletteCommand::~VDPaletteCommand() = default;

bool VDPaletteCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 3) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_model = tokens[1];
    m_fileName = tokens[2];
    commandargs::answer(reply, "Reading palette: " + m_fileName);
    return true;
}

void VDPaletteCommand::execute() {
    dispose();
    std::string failure;
    std::vector<std::string> errors;
    applyPalette(m_model, m_fileName, failure, errors);
}
