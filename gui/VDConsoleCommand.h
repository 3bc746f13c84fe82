#pragma once

#include <string>
#include <vector>

#include "shell/VDDisposable.h"

// One command typed into the console. The console parser creates it for a known name and lets it check the
// rest of the line; the console then executes it once. A command hands itself to the garbage can when it is
// done, so it stays usable until the call that finished it returns.
class VDConsoleCommand : public VDDisposable {
  public:
    explicit VDConsoleCommand(std::string name);
    ~VDConsoleCommand() override;

    virtual std::string getName() const;
    virtual void execute() = 0;
    // `tokens` is the whole line split at blanks, the command's name first. On success the values are
    // stored, `reply` holds the text to show and the result is true; otherwise `reply` holds the usage text.
    virtual bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) = 0;

  protected:
    // Hands the command to the garbage can; touch nothing of it after the current call returns.
    void dispose();

    std::string m_name;
};
