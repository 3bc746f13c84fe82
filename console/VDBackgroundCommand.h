#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_background <model> hide | show": hides the cells of a 3D cell space that hold the value most of its
// cells hold now (the default), or draws them.
class VDBackgroundCommand : public VDConsoleCommand {
  public:
    VDBackgroundCommand();
    ~VDBackgroundCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    std::string m_model;
    bool m_shown = false;
};
