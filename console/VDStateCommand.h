#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_state": prints, for every model that is not a cell, the last value sent on each of its output
// ports at or before the current time, and since when: gunner out = 1.000000 since 00:00:02:000. A model
// that has sent nothing yet prints nothing.
class VDStateCommand : public VDConsoleCommand {
  public:
    VDStateCommand();
    ~VDStateCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;
};
