#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_slice <model> <x|y|z> <k>": only the cells of a cell space whose coordinate on that axis is k (the
// run's own coordinate, negative where the space starts below 0) are drawn and can be picked;
// "vis_slice <model> off" draws the whole block again.
class VDSliceCommand : public VDConsoleCommand {
  public:
    VDSliceCommand();
    ~VDSliceCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    std::string m_model;
    int m_axis = -1;          // -1: off
    long long m_layer = 0;    // the run's coordinate
    std::string m_layerText;  // as a refusal names it
};
