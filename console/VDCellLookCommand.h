#pragma once

#include <string>
#include <vector>

#include "control/VCCellView.h"
#include "gui/VDConsoleCommand.h"

// "vis_cells <model> solid | apart | auto": how a cell space's cubes stand, filling their cells or apart,
// or as its size says.
class VDCellLookCommand : public VDConsoleCommand {
  public:
    VDCellLookCommand();
    ~VDCellLookCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    std::string m_model;
    VCCellView::CellLook m_look = VCCellView::CellLook::Auto;
};
