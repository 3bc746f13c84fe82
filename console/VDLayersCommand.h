#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_layers <model> on | off": the z layers of a 3D cell space as a grid of maps shaped for the 3D view,
// z = 0 at the top left, each labelled "z = k", or the block put together again.
class VDLayersCommand : public VDConsoleCommand {
  public:
    VDLayersCommand();
    ~VDLayersCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    std::string m_model;
    bool m_on = false;
};
