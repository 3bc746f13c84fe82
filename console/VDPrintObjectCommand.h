#pragma once

#include <string>

#include "gui/VDConsoleCommand.h"

// "print VIS | VIS_NL | VIS_ML | VIS_EL": lists the open visualization, its node list, its models or its
// events in the console.
class VDPrintObjectCommand : public VDConsoleCommand {
  public:
    VDPrintObjectCommand();
    ~VDPrintObjectCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;
    virtual void setObjectName(const std::string& objectName);

    const std::string& getObjectName() const { return m_objectName; }

  private:
    std::string m_objectName;
};
