#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"
#include "scene/SDColourRamp.h"

// "vis_ramp MODEL inferno | viridis | coolwarm | grey | auto": the colour map of a Cell-DEVS model's ramp
// (auto: coolwarm for a range from below 0 to above 0, inferno otherwise). "vis_scale MODEL linear | log":
// where a value falls between the range's ends, by its value or by its logarithm.
class VDRampCommand : public VDConsoleCommand {
  public:
    // "vis_ramp" or "vis_scale".
    explicit VDRampCommand(const std::string& name);
    ~VDRampCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    bool isScale() const { return m_name == "vis_scale"; }

    std::string m_model;
    bool m_chosen = false;
    SDColourRamp::Map m_map = SDColourRamp::Map::Inferno;
    bool m_log = false;
};
