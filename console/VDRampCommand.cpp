#include "console/VDRampCommand.h"

#include "console/CommandArguments.h"
#include "control/VCColourRange.h"
#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"

VDRampCommand::VDRampCommand(const std::string& name) : VDConsoleCommand(name) {}
VDRampCommand::~VDRampCommand() = default;

bool VDRampCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    bool known = tokens.size() == 3;
    if (known && isScale()) {
        known = tokens[2] == "linear" || tokens[2] == "log";
        m_log = tokens[2] == "log";
    } else if (known) {
        m_chosen = tokens[2] != "auto";
        known = !m_chosen || SDColourRamp::fromName(tokens[2], m_map);
    }
    if (!known) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_model = tokens[1];
    commandargs::answer(reply, isScale() ? "Setting the colour scale..." : "Setting the colour ramp...");
    return true;
}

void VDRampCommand::execute() {
    dispose();
    SDCELLDevsModel* model =
        commandargs::cellSpace(m_model, isScale() ? "set a colour scale" : "set a colour ramp");
    if (model == nullptr) {
        return;
    }
    SDCellLook& look = model->getLook();
    if (isScale()) {
        look.setLogScale(m_log);
        logText("Colour scale of " + m_model + ": " + (m_log ? "log" : "linear"));
    } else {
        look.setMap(m_chosen, m_map);
        const SDColourRamp::Map map = VCColourRange::of(*model).scale.map;
        logText("Colour ramp of " + m_model + ": " + SDColourRamp::name(map) + (m_chosen ? "" : " (auto)"));
    }
    // A log scale moves the range's ends.
    logText(VCColourRange::describe(m_model, *model));
}
