#include "console/VDFitViewCommand.h"

#include <algorithm>
#include <set>
#include <string>

#include "console/CommandArguments.h"
#include "console/VDDEVSFitViewEvent.h"
#include "console/VDViewPresets.h"
#include "control/VCCellView.h"
#include "control/VCModelView.h"
#include "control/VCSimulation.h"
#include "gui/VDMainWindow.h"
#include "shell/Log.h"

VDFitViewCommand::VDFitViewCommand() : VDConsoleCommand("vis_fit") {}
VDFitViewCommand::VDFitViewCommand(const char* name) : VDConsoleCommand(name) {}
VDFitViewCommand::~VDFitViewCommand() = default;

VDViewCommand::VDViewCommand() : VDFitViewCommand("vis_view") {}

bool VDViewCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 2) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    if (viewpresets::find(tokens[1]) == nullptr) {
        commandargs::answer(reply, "Unknown view: " + tokens[1] + " (one of " + viewpresets::names() + ")");
        return false;
    }
    m_preset = tokens[1];
    commandargs::answer(reply, "Fitting the view from the " + m_preset + "...");
    return true;
}

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
    const bool anyCells = cells->getBounds(box);
    // The models' hierarchy, when it is drawn, is in view too.
    VCModelView* models = simulation->getModelView();
    BoundingBox structure;
    const bool anyBlocks = models != nullptr && (models->updateLayout(), models->getBounds(structure));
    if (!anyCells && !anyBlocks) {
        logText("Nothing to fit: no Cell-DEVS model is drawn");
        return;
    }
    // A run of cell spaces and plain models is fitted to its cells, which would otherwise get a corner of
    // the picture beside the far larger structure; the structure stands to their right, partly in view.
    if (!anyCells) {
        box = structure;
    }
    VDMainWindow* mainWindow = getMainWindow();
    VDWindow* view = mainWindow != nullptr ? mainWindow->getContentWindow() : nullptr;
    if (view == nullptr) {
        logText("Unable to fit the view: there is no 3D view");
        return;
    }
    // Straight to the view, past the main window's routing, which would give it to the open console.
    VDDEVSFitViewEvent fit(box, m_preset);
    view->handleEvent(&fit);
    // Each model once: a cell space has its cells and a block.
    std::set<std::string> drawn;
    for (const VCCellView::DrawnModel& model : cells->getDrawnModels()) {
        drawn.insert(model.name);
    }
    if (anyBlocks) {
        for (const std::string& name : models->getBlockNames()) {
            drawn.insert(name);
        }
    }
    const size_t count = drawn.size();
    logText("View fitted to " + std::to_string(count) + (count == 1 ? " model" : " models"));
}
