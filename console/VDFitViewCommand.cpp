#include "console/VDFitViewCommand.h"

#include "console/CommandArguments.h"
#include "console/VDDEVSFitViewEvent.h"
#include "control/VCCellView.h"
#include "control/VCSimulation.h"
#include "gui/VDMainWindow.h"

VDFitViewCommand::VDFitViewCommand() : VDConsoleCommand("vis_fit") {}
VDFitViewCommand::~VDFitViewCommand() = default;

bool VDFitViewCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    // Replies, the usage line included, go through the log when the command runs (see VDColorCommand).
    reply.clear();
    m_usage = tokens.size() != 1;
    return true;
}

void VDFitViewCommand::execute() {
    dispose();
    if (m_usage) {
        commandargs::report(commandargs::usage(m_name));
        return;
    }
    VCSimulation* simulation = getSimulation();
    VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    if (cells == nullptr) {
        commandargs::report("Unable to fit the view: no visualization currently exists.");
        return;
    }
    cells->updateLayout();
    BoundingBox box;
    if (!cells->getBounds(box)) {
        commandargs::report("Nothing to fit: no Cell-DEVS model is drawn");
        return;
    }
    VDMainWindow* mainWindow = getMainWindow();
    VDWindow* view = mainWindow != nullptr ? mainWindow->getContentWindow() : nullptr;
    if (view == nullptr) {
        commandargs::report("Unable to fit the view: there is no 3D view");
        return;
    }
    // Straight to the view, past the main window's routing, which would give it to the open console.
    VDDEVSFitViewEvent fit(box);
    view->handleEvent(&fit);
    const size_t models = cells->getDrawnModels().size();
    commandargs::report("View fitted to " + std::to_string(models) + (models == 1 ? " model" : " models"));
}
