#pragma once

#include <string>

#include "gui/VDConsoleCommand.h"

// "vis_new NAME": opens a visualization named NAME, with ".vis" added unless the name contains it.
class VDNewCommand : public VDConsoleCommand {
  public:
    VDNewCommand();
    ~VDNewCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

    void setVisualizationName(const std::string& name) { m_visualizationName = name; }
    const std::string& getVisualizationName() const { return m_visualizationName; }

  private:
    std::string m_visualizationName;
};
