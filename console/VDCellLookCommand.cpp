#include "console/VDCellLookCommand.h"

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"

VDCellLookCommand::VDCellLookCommand() : VDConsoleCommand("vis_cells") {}
VDCellLookCommand::~VDCellLookCommand() = default;

bool VDCellLookCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 3 || (tokens[2] != "solid" && tokens[2] != "apart" && tokens[2] != "auto")) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_model = tokens[1];
    m_look = tokens[2] == "solid"   ? VCCellView::CellLook::Solid
             : tokens[2] == "apart" ? VCCellView::CellLook::Apart
                                    : VCCellView::CellLook::Auto;
    commandargs::answer(reply, "Changing the look of the cells...");
    return true;
}

void VDCellLookCommand::execute() {
    dispose();
    VCSimulation* simulation = getSimulation();
    VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    if (commandargs::cellSpace(m_model, "change the look of cells") == nullptr || cells == nullptr) {
        return;
    }
    if (!cells->setCellLook(m_model, m_look)) {
        logText(m_model + " keeps its box: its cubes already touch beyond " +
                std::to_string(VCCellView::kSolidBeyond) + " cells an edge");
        return;
    }
    const bool solid = cells->isSolid(m_model);
    std::string text = m_model + (solid ? " drawn solid: each cube fills its cell"
                                        : " drawn apart: cubes of edge 0.5, one unit apart");
    if (m_look == VCCellView::CellLook::Auto) {
        text += " (auto: solid beyond " + std::to_string(VCCellView::kSolidBeyond) + " cells an edge)";
    }
    logText(text);
}
