#include "console/VDFitViewCommand.h"

#include "console/CommandArguments.h"
#include "console/VDDEVSFitViewEvent.h"
#include "control/VCCellView.h"
#include "control/VCSimulation.h"
#include "gui/VDMainWindow.h"
#include "shell/Log.h"

VDFitViewCommand::VDFitViewCommand() : VDConsoleCommand("vis_fit") {}
VDFitViewCommand::~VDFitViewCommand() = default;

bool VDFitViewCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 1) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    commandargs::answer(reply, "Fitting the view...");
    return true;
}

void VDFitViewCommand::execute() {
    dispose();
    VCSimulation* simulation = getSimulation();
    VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    if (cells == nullptr) {
        logText("Unable to fit the view. Visualization does not exist.");
        return;
    }
    cells->updateLayout();
    BoundingBox box;
    if (!cells->getBounds(box)) {
        logText("Nothing to fit: no Cell-DEVS model is drawn");
        return;
    }
    VDMainWindow* mainWindow = getMainWindow();
    VDWindow* view = mainWindow != nullptr ? mainWindow->getContentWindow() : nullptr;
    if (view == nullptr) {
        logText("Unable to fit the view: there is no 3D view");
        return;
    }
    // Straight to the view, past the main window's routing, which would give it to the open console.
    VDDEVSFitViewEvent fit(box);
    view->handleEvent(&fit);
    const size_t models = cells->getDrawnModels().size();
    logText("View fitted to " + std::to_string(models) + (models == 1 ? " model" : " models"));
}
