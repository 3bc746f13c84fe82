#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_outline on | off": thin dark edges around every cube of the cell spaces, or none (the start). The
// choice holds for visualizations opened later too.
class VDOutlineCommand : public VDConsoleCommand {
  public:
    VDOutlineCommand();
    ~VDOutlineCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    bool m_on = false;
};
