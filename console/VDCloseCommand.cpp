#include "console/VDCloseCommand.h"

#include "console/CommandArguments.h"
#include "console/VDDEVSPlotEvent.h"
#include "control/VCSimulation.h"
#include "gui/VDMainWindow.h"

VDCloseCommand::VDCloseCommand() : VDConsoleCommand("vis_close") {}
VDCloseCommand::~VDCloseCommand() = default;

bool VDCloseCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 1) {
        reply = commandargs::usage(m_name);
        return false;
    }
    reply = "Closing visualization context...";
    return true;
}

void VDCloseCommand::execute() {
    if (VCSimulation* simulation = getSimulation()) {
        simulation->closeVisualization();
    }
    // The plot's series went with the run: emptied now, so that a run opened and imported before the next
    // frame is drawn never shows them, nor has them read again from its own models.
    VDMainWindow* mainWindow = getMainWindow();
    if (VDWindow* view = mainWindow != nullptr ? mainWindow->getContentWindow() : nullptr) {
        VDDEVSPlotEvent closed = VDDEVSPlotEvent::runClosed();
        view->handleEvent(&closed);
    }
    dispose();
}
