#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_messages [<model>]": lists the X and Y messages of the current time, or only those from or to one
// model (see VCMessageReading). Every line, refusals included, goes to the console and to the log file.
class VDMessagesCommand : public VDConsoleCommand {
  public:
    VDMessagesCommand();
    ~VDMessagesCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    std::string m_model;  // empty: every message
};
