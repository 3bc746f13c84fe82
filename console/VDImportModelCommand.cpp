#include "console/VDImportModelCommand.h"

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"

VDImportModelCommand::VDImportModelCommand() : VDConsoleCommand("vis_import_model") {}
VDImportModelCommand::~VDImportModelCommand() = default;

bool VDImportModelCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 2) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_fileName = tokens[1];
    commandargs::answer(reply, "Importing model file: " + m_fileName);
    return true;
}

void VDImportModelCommand::execute() {
    // Read in slices in the program, as a log is: the command is disposed of once the file has ended.
    VCSimulation* simulation = getSimulation();
    if (simulation != nullptr && simulation->startModelFile(m_fileName) && simulation->isImporting()) {
        simulation->whenImportEnds([this] { dispose(); });
        return;
    }
    dispose();
}
