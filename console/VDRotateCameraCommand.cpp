#include "console/VDRotateCameraCommand.h"

#include "console/CommandArguments.h"
#include "console/VDDEVSRotateCameraEvent.h"
#include "gui/VDMainWindow.h"

VDRotateCameraCommand::VDRotateCameraCommand() : VDConsoleCommand("cam_rotate") {}
VDRotateCameraCommand::~VDRotateCameraCommand() = default;

bool VDRotateCameraCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 4) {
        reply = commandargs::usage(m_name);
        return false;
    }
    setYawChange(commandargs::number(tokens[1]));
    setPitchChange(commandargs::number(tokens[2]));
    setRollChange(commandargs::number(tokens[3]));
    reply = "Rotating camera...";
    return true;
}

void VDRotateCameraCommand::setYawChange(float change) {
    m_yawChange = change;
}

void VDRotateCameraCommand::setPitchChange(float change) {
    m_pitchChange = change;
}

void VDRotateCameraCommand::setRollChange(float change) {
    m_rollChange = change;
}

void VDRotateCameraCommand::execute() {
    dispose();
    VDMainWindow* mainWindow = getMainWindow();
    VDWindow* view = mainWindow != nullptr ? mainWindow->getContentWindow() : nullptr;
    if (view != nullptr) {
        // Straight to the view, past the main window's routing, which would give it to the open console.
        VDDEVSRotateCameraEvent rotate(m_yawChange, m_pitchChange, m_rollChange);
        view->handleEvent(&rotate);
    }
}
