#pragma once

#include <string>
#include <vector>

#include "control/VCSeriesTarget.h"
#include "gui/VDConsoleCommand.h"

// "vis_export MODEL X [Y [Z]] FILE", "vis_export MODEL.PORT FILE" and "vis_export MODEL FILE": writes the
// series vis_plot would show as a CSV file (VCSeriesCsv), whole or not at all, and replies "Exported 12
// rows to FILE". The file's path may be quoted.
class VDExportCommand : public VDConsoleCommand {
  public:
    VDExportCommand();
    ~VDExportCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    VCSeriesTarget m_target;
    std::string m_fileName;
};
