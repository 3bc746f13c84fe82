#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_field MODEL K": number K (from 0) of each state text of a model gives its values from now on: all
// the cells of a cell space, or a model that logged its state as text. "Field of cells: number 1 of each
// state"; a state without that number gives no value from its time on.
class VDFieldCommand : public VDConsoleCommand {
  public:
    VDFieldCommand();
    ~VDFieldCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    std::string m_model;
    int m_field = 0;
};
