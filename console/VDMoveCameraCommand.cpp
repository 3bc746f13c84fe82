#include "console/VDMoveCameraCommand.h"

#include "console/CommandArguments.h"
#include "console/VDDEVSMoveCameraEvent.h"
#include "gui/VDMainWindow.h"

VDMoveCameraCommand::VDMoveCameraCommand() : VDConsoleCommand("cam_move") {}
VDMoveCameraCommand::~VDMoveCameraCommand() = default;

bool VDMoveCameraCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 4) {
        reply = commandargs::usage(m_name);
        return false;
    }
    setSideMovement(commandargs::number(tokens[1]));
    setVerticalMovement(commandargs::number(tokens[2]));
    setForwardMovement(commandargs::number(tokens[3]));
    reply = "Moving camera...";
    return true;
}

void VDMoveCameraCommand::setForwardMovement(float movement) {
    m_forwardMovement = movement;
}

void VDMoveCameraCommand::setSideMovement(float movement) {
    m_sideMovement = movement;
}

void VDMoveCameraCommand::setVerticalMovement(float movement) {
    m_verticalMovement = movement;
}

void VDMoveCameraCommand::execute() {
    dispose();
    VDMainWindow* mainWindow = getMainWindow();
    VDWindow* view = mainWindow != nullptr ? mainWindow->getContentWindow() : nullptr;
    if (view != nullptr) {
        // Straight to the view, past the main window's routing, which would give it to the open console.
        VDDEVSMoveCameraEvent move(m_forwardMovement, m_sideMovement, m_verticalMovement);
        view->handleEvent(&move);
    }
}
