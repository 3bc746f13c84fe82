#include "console/VDStateCommand.h"

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDTime.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"

VDStateCommand::VDStateCommand() : VDConsoleCommand("vis_state") {}
VDStateCommand::~VDStateCommand() = default;

bool VDStateCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 1) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    commandargs::answer(reply, "Printing model states...");
    return true;
}

void VDStateCommand::execute() {
    dispose();
    SDVisualization* visualization = getVisualization();
    if (visualization == nullptr) {
        logMessage("Unable to print model states. Visualization does not exist.");
        return;
    }
    SDTimeCursor* cursor = visualization->getCursor();
    bool any = false;
    for (const auto& [name, model] : visualization->getModelList()->getModels()) {
        for (const std::string& port : model->getOutputPorts()) {
            double value = 0.0;
            uint32_t timeIndex = 0;
            if (cursor->output(name, port, value, timeIndex)) {
                const SDTime since(cursor->timeAt(timeIndex));
                logMessage("%s %s = %f since %s", name.c_str(), port.c_str(), value,
                           since.toString().c_str());
                any = true;
            }
        }
    }
    if (!any) {
        logMessage("No model has sent an output yet");
    }
}
