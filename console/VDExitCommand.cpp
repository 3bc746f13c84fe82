#include "console/VDExitCommand.h"

#include <cstdlib>

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"
#include "gui/VDMainWindow.h"
#include "gui/VDMessageBox.h"
#include "gui/VDThemeStore.h"
#include "shell/GLExtensions.h"
#include "shell/VDGarbageCan.h"

VDExitCommand::VDExitCommand() : VDConsoleCommand("exit") {}
VDExitCommand::~VDExitCommand() = default;

bool VDExitCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 1) {
        reply = commandargs::usage(m_name);
        return false;
    }
    reply = "Exiting...";
    return true;
}

void VDExitCommand::execute() {
    VDMainWindow* mainWindow = getMainWindow();
    if (mainWindow == nullptr) {
        dispose();  // nobody to ask, and nobody would answer
        return;
    }
    // The run stands still while the question is open, and whatever the answer.
    if (VCSimulation* simulation = getSimulation()) {
        simulation->stopPlayback();
    }
    mainWindow->showMessageBox(VDMessageBox::KIND_YES_NO, "Are you sure you want to exit?", this);
}

void VDExitCommand::onResult(int result) {
    dispose();
    if (result != RESULT_YES) {
        return;
    }
    destroySimulation();
    destroyGLExtensions();
    destroyThemeStore();
    destroyMainWindow();
    // This deletes the command too: nothing of it may be touched from here on.
    destroyGarbageCan();
    std::exit(0);
}
