#pragma once

#include "gui/VDConsoleCommand.h"

// "vis_fit": places the camera so that every drawn Cell-DEVS model is in view, seen from the front and a
// little above. Its replies go to the console and to the log file.
class VDFitViewCommand : public VDConsoleCommand {
  public:
    VDFitViewCommand();
    ~VDFitViewCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;
};
