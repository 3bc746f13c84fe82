#include "console/VDImportLogFileCommand.h"

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"

VDImportLogFileCommand::VDImportLogFileCommand() : VDConsoleCommand("vis_import_logfile") {}
VDImportLogFileCommand::~VDImportLogFileCommand() = default;

bool VDImportLogFileCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 2) {
        reply = commandargs::usage(m_name);
        return false;
    }
    setFileName(tokens[1]);
    reply = "Importing simulation results from log file: " + tokens[1];
    return true;
}

void VDImportLogFileCommand::setFileName(const std::string& fileName) {
    m_fileName = fileName;
}

void VDImportLogFileCommand::execute() {
    // In the program the import goes on in slices after this returns; its lines follow this command's
    // reply as they are read. The command is disposed of once it has ended, so that its own last log line
    // still comes after the import's, as when the whole file is read at once.
    VCSimulation* simulation = getSimulation();
    if (simulation != nullptr && simulation->startImport(m_fileName) && simulation->isImporting()) {
        simulation->whenImportEnds([this] { dispose(); });
        return;
    }
    dispose();
}
