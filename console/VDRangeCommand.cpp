#include "console/VDRangeCommand.h"

#include "console/CommandArguments.h"
#include "control/VCColourRange.h"
#include "control/VCModelList.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"
#include "shell/LogFormat.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"

VDRangeCommand::VDRangeCommand() : VDConsoleCommand("vis_range") {}
VDRangeCommand::~VDRangeCommand() = default;

bool VDRangeCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    const bool keyword = tokens.size() == 3 && (tokens[2] == "log" || tokens[2] == "all" ||
                                                tokens[2] == "now" || tokens[2] == "robust");
    if (!keyword && tokens.size() != 4) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_model = tokens[1];
    if (keyword) {
        m_range = tokens[2] == "now"      ? SDCellLook::Range::Now
                  : tokens[2] == "robust" ? SDCellLook::Range::Robust
                                          : SDCellLook::Range::Log;
    } else {
        m_range = SDCellLook::Range::Fixed;
        m_low = commandargs::value(tokens[2]);
        m_high = commandargs::value(tokens[3]);
        if (m_low > m_high) {
            commandargs::answer(
                reply, formatText("Range refused: its low end %f is above its high end %f", m_low, m_high));
            return false;
        }
    }
    commandargs::answer(reply, "Setting the colour range...");
    return true;
}

void VDRangeCommand::execute() {
    dispose();
    SDCELLDevsModel* model = commandargs::cellSpace(m_model, "set a colour range");
    if (model == nullptr) {
        return;
    }
    model->getLook().setRange(m_range, m_low, m_high);
    logText(VCColourRange::describe(m_model, *model));
}
