#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// The commands that move the current time of the open visualization, each printing the time it ends at:
//   "time_next", "time_prev"          to the next or the previous time at which events happen (or the
//                                      start); at either end the time stays;
//   "time_goto HH:MM:SS:MS|start|end"  to the latest such time at or before the given one (a time before
//                                      the first goes to the first), or to the first or the last.
class VDTimeCommand : public VDConsoleCommand {
  public:
    enum class Move { Next, Previous, Goto, Start, End };

    // `name` is one of the three command names.
    explicit VDTimeCommand(const std::string& name);
    ~VDTimeCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

    Move getMove() const { return m_move; }
    double getTarget() const { return m_target; }

  private:
    Move m_move;
    double m_target = 0.0;  // milliseconds, for Goto
};
