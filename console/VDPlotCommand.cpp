#include "console/VDPlotCommand.h"

#include "console/CommandArguments.h"
#include "console/VDDEVSPlotEvent.h"
#include "gui/VDMainWindow.h"
#include "shell/Log.h"

VDPlotCommand::VDPlotCommand() : VDConsoleCommand("vis_plot") {}
VDPlotCommand::~VDPlotCommand() = default;

bool VDPlotCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    m_clear = tokens.size() == 2 && tokens[1] == "clear";
    if (!m_clear &&
        !VCSeriesTarget::parse(
            std::vector<std::string>(tokens.begin() + (tokens.empty() ? 0 : 1), tokens.end()), m_target)) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    commandargs::answer(reply, m_clear ? "Clearing the plot..." : "Plotting " + m_target.text() + "...");
    return true;
}

void VDPlotCommand::execute() {
    dispose();
    VDMainWindow* mainWindow = getMainWindow();
    VDWindow* view = mainWindow != nullptr ? mainWindow->getContentWindow() : nullptr;
    // Straight to the view, past the main window's routing, which would give it to the open console.
    VDDEVSPlotEvent plot = m_clear ? VDDEVSPlotEvent() : VDDEVSPlotEvent(m_target);
    if (view != nullptr) {
        view->handleEvent(&plot);
    }
    if (!plot.handled) {
        logText("Unable to plot: there is no 3D view");
    }
}
