#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_fit": places the camera so that every drawn Cell-DEVS model is in view, seen from the front and a
// little above. Its replies go to the console and to the log file.
class VDFitViewCommand : public VDConsoleCommand {
  public:
    VDFitViewCommand();
    ~VDFitViewCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  protected:
    // A fit from a named direction (VDViewPresets), as vis_view asks it.
    explicit VDFitViewCommand(const char* name);
    std::string m_preset;
};

// "vis_view front|back|left|right|top|bottom|iso": the fit of vis_fit, seen from that side.
class VDViewCommand : public VDFitViewCommand {
  public:
    VDViewCommand();
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;
};
