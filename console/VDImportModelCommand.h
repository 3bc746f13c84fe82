#pragma once

#include <string>
#include <vector>

#include "gui/VDConsoleCommand.h"

// "vis_import_model PATH": reads a model file (.ma) into the open visualization: the size and initial
// values of its cell spaces, the components, ports and links of its coupled models; or a grid scenario
// (JSON), whatever its name: the size, origin, initial values and colours of one cell space.
class VDImportModelCommand : public VDConsoleCommand {
  public:
    VDImportModelCommand();
    ~VDImportModelCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

  private:
    std::string m_fileName;
};
