#include "console/VDCellCommand.h"

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDTime.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"

namespace {

// name(x), name(x,y) or name(x,y,z): as many coordinates as the space has dimensions.
std::string cellLabel(const SDCELLDevsModel& model, const long long coordinates[3]) {
    const int dimensions = model.getLength() > 1 ? 3 : model.getHeight() > 1 ? 2 : 1;
    std::string label = model.name() + "(";
    for (int i = 0; i < dimensions; ++i) {
        label += (i > 0 ? "," : "") + std::to_string(coordinates[i]);
    }
    return label + ")";
}

}  // namespace

VDCellCommand::VDCellCommand() : VDConsoleCommand("vis_cell") {}
VDCellCommand::~VDCellCommand() = default;

bool VDCellCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    bool numbers = tokens.size() >= 3 && tokens.size() <= 5;
    for (size_t i = 2; numbers && i < tokens.size(); ++i) {
        numbers = commandargs::integer(tokens[i], m_coordinates[i - 2]);
    }
    if (!numbers) {
        commandargs::answer(reply, commandargs::usage(m_name, " $model $x [$y [$z]]"));
        return false;
    }
    m_model = tokens[1];
    commandargs::answer(reply, "Looking up cell...");
    return true;
}

void VDCellCommand::execute() {
    dispose();
    SDVisualization* visualization = getVisualization();
    if (visualization == nullptr) {
        logMessage("Unable to look up a cell. Visualization does not exist.");
        return;
    }
    SDDevsModel* found = visualization->getModelList()->findModel(m_model);
    auto* model = dynamic_cast<SDCELLDevsModel*>(found);
    if (found == nullptr) {
        logMessage("No model named %s", m_model.c_str());
        return;
    }
    if (model == nullptr) {
        logMessage("%s is not a Cell-DEVS model", m_model.c_str());
        return;
    }
    const long long x = m_coordinates[0];
    const long long y = m_coordinates[1];
    const long long z = m_coordinates[2];
    if (x < 0 || y < 0 || z < 0) {
        logMessage("Cell (%lld,%lld,%lld) has a negative coordinate", x, y, z);
        return;
    }
    if (x >= model->getWidth() || y >= model->getHeight() || z >= model->getLength()) {
        logMessage("Cell (%lld,%lld,%lld) is outside %s's %ux%ux%u cells", x, y, z, m_model.c_str(),
                   model->getWidth(), model->getHeight(), model->getLength());
        return;
    }
    SDTimeCursor* cursor = visualization->getCursor();
    cursor->sync();
    const SDCellValues& values = model->getValues();
    const size_t cell = static_cast<size_t>((x * model->getHeight() + y) * model->getLength() + z);
    const std::string label = cellLabel(*model, m_coordinates);
    if (!values.hasValue(cell)) {
        logMessage("%s has no value yet", label.c_str());
        return;
    }
    const SDTime since(cursor->timeAt(values.timeIndex(cell)));
    logMessage("%s = %f since %s", label.c_str(), values.value(cell), since.toString().c_str());
}
