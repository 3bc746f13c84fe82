#pragma once

#include <string>
#include <vector>

#include "control/VCSeriesTarget.h"
#include "gui/VDConsoleCommand.h"

// "vis_plot MODEL X [Y [Z]]", "vis_plot MODEL.PORT", "vis_plot MODEL" and "vis_plot clear": adds the
// values over time of a cell, of a port, or the spread of a whole cell space to the 3D view's plot (which
// opens), or empties it. The view reports what came of it.
class VDPlotCommand : public VDConsoleCommand {
  public:
    VDPlotCommand();
    ~VDPlotCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    bool m_clear = false;
    VCSeriesTarget m_target;
};
