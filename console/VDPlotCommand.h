#pragma once

#include <string>
#include <vector>

#include "control/VCSeriesTarget.h"
#include "gui/VDConsoleCommand.h"

// "vis_plot MODEL X [Y [Z]]", "vis_plot MODEL.PORT", "vis_plot MODEL" and "vis_plot clear": adds the
// values over time of a cell, of a port, or the spread of a whole cell space to the 3D view's plot (which
// opens, and shows if hidden), or empties it. "vis_plot hide | show" hides or shows the plot with its
// series, "vis_plot place X Y WIDTH HEIGHT" places it in pixels. The view reports what came of it.
class VDPlotCommand : public VDConsoleCommand {
  public:
    VDPlotCommand();
    ~VDPlotCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    enum class Action { Add, Clear, Hide, Show, Place };
    Action m_action = Action::Add;
    long long m_place[4] = {0, 0, 0, 0};
    VCSeriesTarget m_target;
};
