#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// The commands that start and stop playback of the open visualization:
//   "play [STEPS_PER_SECOND]"  from 0.1 to 1000 steps a second; without a rate, the one given last (10 at
//                               first). At the last time it starts again from the start.
//   "stop"
class VDPlaybackCommand : public VDConsoleCommand {
  public:
    // `name` is "play" or "stop".
    explicit VDPlaybackCommand(const std::string& name);
    ~VDPlaybackCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

    // The rate given, or 0 when none was.
    double getRate() const { return m_rate; }

    // A rate as the command accepts it: a plain decimal number (digits, at most one point, an optional
    // exponent), from 0.1 to 1000.
    static bool parseRate(const std::string& token, double& rate);

  private:
    double m_rate = 0.0;
};
