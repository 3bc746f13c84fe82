#pragma once

#include "gui/VDConsoleCommand.h"

// "vis_close": closes the open visualization.
class VDCloseCommand : public VDConsoleCommand {
  public:
    VDCloseCommand();
    ~VDCloseCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;
};
