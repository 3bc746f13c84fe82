#include "console/VDExportCommand.h"

#include "console/CommandArguments.h"
#include "control/VCSeriesCsv.h"
#include "control/VCSimulation.h"
#include "shell/AtomicFile.h"
#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDSeries.h"
#include "simdata/SDVisualization.h"

VDExportCommand::VDExportCommand() : VDConsoleCommand("vis_export") {}
VDExportCommand::~VDExportCommand() = default;

namespace {

// How many coordinates name a cell of `model` in the open visualization (as vis_cell labels it: life(3,4)
// has two), or 0 when it is not a cell space there.
int coordinatesOf(const std::string& model) {
    SDVisualization* visualization = getVisualization();
    const auto* cells =
        visualization != nullptr
            ? dynamic_cast<const SDCELLDevsModel*>(visualization->getModelList()->findModel(model))
            : nullptr;
    if (cells == nullptr) {
        return 0;
    }
    return cells->getLength() > 1 ? 3 : cells->getHeight() > 1 ? 2 : 1;
}

}  // namespace

bool VDExportCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    // The file comes last; what lies between names the series. A file name forgotten would take the last
    // coordinate for the file: a last word that reads as a number, or a cell left with fewer coordinates
    // than its model has, is taken for that mistake.
    long long number = 0;
    if (tokens.size() < 3 || tokens.back().empty() || commandargs::integer(tokens.back(), number) ||
        !VCSeriesTarget::parse(std::vector<std::string>(tokens.begin() + 1, tokens.end() - 1), m_target) ||
        lacksCoordinates()) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_fileName = tokens.back();
    commandargs::answer(reply, "Exporting " + m_target.text() + "...");
    return true;
}

bool VDExportCommand::lacksCoordinates() const {
    return m_target.kind == VCSeriesTarget::Kind::Cell && m_target.coordinates < coordinatesOf(m_target.name);
}

void VDExportCommand::execute() {
    dispose();
    // The model may have grown a dimension since the line was read (an import going on).
    if (lacksCoordinates()) {
        logText(commandargs::usage(m_name));
        return;
    }
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
