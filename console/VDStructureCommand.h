#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_structure on | off": the blocks of the model hierarchy drawn (the start of every run) or not. Hidden
// blocks are neither drawn, nor fitted by vis_fit, nor picked.
class VDStructureCommand : public VDConsoleCommand {
  public:
    VDStructureCommand();
    ~VDStructureCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    bool m_on = false;
};
