#pragma once

#include <string>

#include "gui/VDConsoleCommand.h"

// "vis_import_logfile PATH": reads a simulation log into the open visualization.
class VDImportLogFileCommand : public VDConsoleCommand {
  public:
    VDImportLogFileCommand();
    ~VDImportLogFileCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;
    virtual void setFileName(const std::string& fileName);

    const std::string& getFileName() const { return m_fileName; }

  private:
    std::string m_fileName;
};
