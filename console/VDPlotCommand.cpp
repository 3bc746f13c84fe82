#include "console/VDPlotCommand.h"

#include "console/CommandArguments.h"
#include "console/VDDEVSPlotEvent.h"
#include "gui/VDMainWindow.h"
#include "shell/Log.h"

VDPlotCommand::VDPlotCommand() : VDConsoleCommand("vis_plot") {}
VDPlotCommand::~VDPlotCommand() = default;

bool VDPlotCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    const std::string word = tokens.size() >= 2 ? tokens[1] : "";
    bool valid = true;
    if (tokens.size() == 2 && word == "clear") {
        m_action = Action::Clear;
    } else if (tokens.size() == 2 && (word == "hide" || word == "show")) {
        m_action = word == "hide" ? Action::Hide : Action::Show;
    } else if (word == "place") {
        m_action = Action::Place;
        valid = tokens.size() == 6;
        for (size_t i = 0; valid && i < 4; ++i) {
            valid = commandargs::integer(tokens[i + 2], m_place[i]);
        }
    } else {
        m_action = Action::Add;
        valid = VCSeriesTarget::parse(
            std::vector<std::string>(tokens.begin() + (tokens.empty() ? 0 : 1), tokens.end()), m_target);
    }
    if (!valid) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    switch (m_action) {
        case Action::Clear:
            commandargs::answer(reply, "Clearing the plot...");
            break;
        case Action::Hide:
            commandargs::answer(reply, "Hiding the plot...");
            break;
        case Action::Show:
            commandargs::answer(reply, "Showing the plot...");
            break;
        case Action::Place:
            commandargs::answer(reply, "Placing the plot...");
            break;
        case Action::Add:
            commandargs::answer(reply, "Plotting " + m_target.text() + "...");
            break;
    }
    return true;
}

void VDPlotCommand::execute() {
    dispose();
    VDMainWindow* mainWindow = getMainWindow();
    VDWindow* view = mainWindow != nullptr ? mainWindow->getContentWindow() : nullptr;
    // Straight to the view, past the main window's routing, which would give it to the open console.
    VDDEVSPlotEvent plot;
    if (m_action == Action::Add) {
        plot = VDDEVSPlotEvent(m_target);
    } else if (m_action == Action::Hide || m_action == Action::Show) {
        plot = VDDEVSPlotEvent::hidden(m_action == Action::Hide);
    } else if (m_action == Action::Place) {
        plot = VDDEVSPlotEvent::placed(m_place[0], m_place[1], m_place[2], m_place[3]);
    }
    if (view != nullptr) {
        view->handleEvent(&plot);
    }
    if (!plot.handled) {
        logText("Unable to plot: there is no 3D view");
    }
}
