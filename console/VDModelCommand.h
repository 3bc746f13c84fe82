#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_model <name>": prints what a model of the open visualization is and does at the current time: its
// kind, parent and children, the last value on each of its ports and its next event (see VCModelReading).
// Every line, refusals included, goes to the console and to the log file.
class VDModelCommand : public VDConsoleCommand {
  public:
    VDModelCommand();
    ~VDModelCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

    const std::string& getModel() const { return m_model; }

  private:
    std::string m_model;
};
