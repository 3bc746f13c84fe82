#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_palette MODEL FILE": colours a Cell-DEVS model's cells from a palette file (see SLPaletteFile):
// each of its ranges becomes a colour rule, in file order, in place of the model's rules.
class VDPaletteCommand : public VDConsoleCommand {
  public:
    VDPaletteCommand();
    ~VDPaletteCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    std::string m_model;
    std::string m_fileName;
};
