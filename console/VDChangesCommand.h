#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_changes on | off": a thin white frame around every cell and block that changed at the current
// time, following the cursor; off at first and kept for visualizations opened later. Alone, it tells
// whether the frames are drawn.
class VDChangesCommand : public VDConsoleCommand {
  public:
    VDChangesCommand();
    ~VDChangesCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    enum class Action { Report, On, Off };
    Action m_action = Action::Report;
};
