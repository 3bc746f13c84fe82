#pragma once

#include "gui/VDConsoleCommand.h"
#include "gui/VDMessageBoxCallBack.h"

// "exit": asks "Are you sure you want to exit?" and, on Yes, takes the program down in order and ends the
// process with status 0. It stays alive as the question's receiver until the answer comes.
class VDExitCommand : public VDConsoleCommand, public VDMessageBoxCallBack {
  public:
    VDExitCommand();
    ~VDExitCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;
    void onResult(int result) override;
};
