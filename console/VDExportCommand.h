#pragma once

#include <string>
#include <vector>

#include "control/VCSeriesTarget.h"
#include "gui/VDConsoleCommand.h"

// "vis_export MODEL X [Y [Z]] FILE", "vis_export MODEL.PORT FILE" and "vis_export MODEL FILE": writes the
// series vis_plot would show as a CSV file (VCSeriesCsv), whole or not at all, and replies "Exported 12
// rows to FILE". The file's path may be quoted. A last word that reads as a whole number, or a cell with
// fewer coordinates than its model has, is answered with the usage line: the file name was forgotten.
class VDExportCommand : public VDConsoleCommand {
  public:
    VDExportCommand();
    ~VDExportCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    // A cell named with fewer coordinates than its model's cells have.
    bool lacksCoordinates() const;

    VCSeriesTarget m_target;
    std::string m_fileName;
};
