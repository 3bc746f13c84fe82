#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"
#include "simdata/SDCellLook.h"

// "vis_range MODEL robust | all | log | now | LOW HIGH": the range of values the colour ramp of a Cell-DEVS
// model spans: the middle of its values over the run (the default), all of them over the whole log (`log`
// is the same), the values its cells hold at the current time (followed as the time moves), or a fixed
// range. Replies with the range it set; the colour bar shows it.
class VDRangeCommand : public VDConsoleCommand {
  public:
    VDRangeCommand();
    ~VDRangeCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    std::string m_model;
    SDCellLook::Range m_range = SDCellLook::Range::Robust;
    double m_low = 0.0;
    double m_high = 0.0;
};
