#include "console/VDExportCommand.h"

#include "console/CommandArguments.h"
#include "control/VCSeriesCsv.h"
#include "shell/AtomicFile.h"
#include "shell/Log.h"
#include "simdata/SDSeries.h"

VDExportCommand::VDExportCommand() : VDConsoleCommand("vis_export") {}
VDExportCommand::~VDExportCommand() = default;

bool VDExportCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    // The file comes last; what lies between names the series.
    if (tokens.size() < 3 || tokens.back().empty() ||
        !VCSeriesTarget::parse(std::vector<std::string>(tokens.begin() + 1, tokens.end() - 1), m_target)) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_fileName = tokens.back();
    commandargs::answer(reply, "Exporting " + m_target.text() + "...");
    return true;
}

void VDExportCommand::execute() {
    dispose();
    SDSeries series;
    std::string error;
    if (!m_target.fetch(series, error)) {
        logText("Unable to export: " + error);
        return;
    }
    if (!writeFileAtomically(m_fileName, VCSeriesCsv::text(series), error)) {
        logText("Unable to export to " + m_fileName + ": " + error);
        return;
    }
    logText("Exported " + std::to_string(series.size()) + (series.size() == 1 ? " row to " : " rows to ") +
            m_fileName);
}
