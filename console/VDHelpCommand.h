#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "help [COMMAND]": without a name, every command with its usage; with one, its usage line and what it
// does. Both from the command table, so they say what the commands' own usage lines say.
class VDHelpCommand : public VDConsoleCommand {
  public:
    VDHelpCommand();
    ~VDHelpCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    std::string m_topic;  // empty: every command
};
