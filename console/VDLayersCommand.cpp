#include "console/VDLayersCommand.h"

#include "console/CommandArguments.h"
#include "control/VCCellView.h"
#include "control/VCSimulation.h"
#include "gui/VDMainWindow.h"
#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDVisualization.h"

VDLayersCommand::VDLayersCommand() : VDConsoleCommand("vis_layers") {}
VDLayersCommand::~VDLayersCommand() = default;

bool VDLayersCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 3 || (tokens[2] != "on" && tokens[2] != "off")) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_model = tokens[1];
    m_on = tokens[2] == "on";
    commandargs::answer(reply, "Laying out the layers...");
    return true;
}

void VDLayersCommand::execute() {
    dispose();
    VCSimulation* simulation = getSimulation();
    VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    if (commandargs::cellSpace(m_model, "lay out layers") == nullptr || cells == nullptr) {
        return;
    }
    // The grid is shaped for the 3D view as it is now; without one, for the usual window.
    float aspect = VCCellView::kDefaultAspect;
    VDMainWindow* mainWindow = getMainWindow();
    if (VDWindow* view = mainWindow != nullptr ? mainWindow->getContentWindow() : nullptr) {
        const VDRect rect = view->getRectangle();
        if (rect.getWidth() > 0.0f && rect.getHeight() > 0.0f) {
            aspect = rect.getWidth() / rect.getHeight();
        }
    }
    if (!cells->setLayers(m_model, m_on, aspect)) {
        logText(m_model + " has a single layer along z: nothing to lay out");
        return;
    }
    unsigned counts[3] = {0, 0, 0};
    cells->getCounts(m_model, counts);
    logText(m_on ? m_model + ": its " + std::to_string(counts[2]) + " z layers side by side"
                 : m_model + " drawn as one block");
}
