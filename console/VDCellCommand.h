#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_cell MODEL X [Y [Z]]": prints what a cell of a Cell-DEVS model holds at the current time, and since
// when: plane(5,5) = 0.444440 since 00:00:01:000, or plane(0,0) has no value yet. Missing coordinates
// read 0; the cell is written with as many coordinates as the model has dimensions.
class VDCellCommand : public VDConsoleCommand {
  public:
    VDCellCommand();
    ~VDCellCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    std::string m_model;
    long long m_coordinates[3] = {0, 0, 0};
};
