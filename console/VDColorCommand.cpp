#include "console/VDColorCommand.h"

#include <algorithm>
#include <cstdio>

#include "console/CommandArguments.h"
#include "control/VCModelList.h"
#include "control/VCModelPorts.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"
#include "shell/LogFormat.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDModelStructure.h"
#include "simdata/SDVisualization.h"

namespace {

// A first argument with a '.' names a port, and is answered with the forms on ports.
const char* const kPortArguments =
    " $model.$port $low $high $r $g $b [$a] | $model.$port clear | $model.$port ramp";
std::string describe(const VDColorCommand::Colour& colour) {
    if (colour[3] == 0.0f) {
        return "hidden";
    }
    char text[160];
    std::snprintf(text, sizeof text, "colour (%.3f, %.3f, %.3f, %.3f)", static_cast<double>(colour[0]),
                  static_cast<double>(colour[1]), static_cast<double>(colour[2]),
                  static_cast<double>(colour[3]));
    return text;
}

}  // namespace

VDColorCommand::VDColorCommand() : VDConsoleCommand("vis_color") {}
VDColorCommand::~VDColorCommand() = default;

bool VDColorCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    const size_t count = tokens.size();
    const std::string keyword = count > 2 ? tokens[2] : "";
    bool fits = false;
    if (keyword == "clear") {
        m_action = Action::Clear;
        fits = count == 3;
    } else if (keyword == "ramp") {
        m_action = Action::Ramp;
        fits = count == 3;
    } else if (keyword == "none") {
        m_action = Action::NoValue;
        fits = count == 6 || count == 7;
    } else {
        m_action = Action::AddRule;
        fits = count == 7 || count == 8;
    }
    const bool onPort = count > 1 && tokens[1].find('.') != std::string::npos;
    // A port's rules have no look without a value: the block shows its activity then.
    fits = fits && !(onPort && m_action == Action::NoValue);
    if (!fits) {
        commandargs::answer(reply,
                            onPort ? commandargs::usage(m_name, kPortArguments) : commandargs::usage(m_name));
        return false;
    }
    m_model = tokens[1];
    if (m_action == Action::NoValue) {
        readColour(tokens, 3);
    } else if (m_action == Action::AddRule) {
        m_low = commandargs::value(tokens[2]);
        m_high = commandargs::value(tokens[3]);
        if (m_low > m_high) {
            commandargs::answer(
                reply, formatText("Rule refused: its low end %f is above its high end %f", m_low, m_high));
            return false;
        }
        readColour(tokens, 4);
    }
    commandargs::answer(reply, m_model.find('.') == std::string::npos ? "Setting cell colours..."
                                                                      : "Setting block colours...");
    return true;
}

void VDColorCommand::readColour(const std::vector<std::string>& tokens, size_t first) {
    m_clamped = false;
    for (size_t i = 0; i < 4; ++i) {
        float component = 1.0f;
        if (first + i < tokens.size()) {
            component = commandargs::number(tokens[first + i]);
        }
        const float clamped = std::clamp(component, 0.0f, 1.0f);
        m_clamped = m_clamped || clamped != component;
        m_colour[i] = clamped;
    }
}

void VDColorCommand::execute() {
    dispose();
    VCSimulation* simulation = getSimulation();
    VCModelList* models = simulation != nullptr ? simulation->getModelList() : nullptr;
    if (models == nullptr || models->getModelList() == nullptr) {
        logText("Unable to colour cells. Visualization does not exist.");
        return;
    }
    SDDevsModel* found = models->getModelList()->findModel(m_model);
    const SDVisualization* visualization = getVisualization();
    const bool inTree =
        visualization != nullptr && visualization->getStructure()->tree().find(m_model) != SDModelTree::kNone;
    const size_t dot = m_model.rfind('.');
    if (found == nullptr && !inTree && dot != std::string::npos && dot > 0 && dot + 1 < m_model.size()) {
        executeOnPort(m_model.substr(0, dot), m_model.substr(dot + 1));
        return;
    }
    if (m_action == Action::Ramp) {
        // The model's own name where it names one; a name that is none (".out") is not shown as one.
        const std::string model = found != nullptr || inTree ? m_model : "<model>";
        logText("A ramp colours a block by one of its ports: vis_color " + model + ".<port> ramp");
        return;
    }
    if (found == nullptr && !inTree) {
        logText("No model named " + m_model);
        return;
    }
    auto* model = dynamic_cast<SDCELLDevsModel*>(found);
    const SDBlockLook* blockLook =
        visualization != nullptr ? visualization->getStructure()->findLook(m_model) : nullptr;
    if (model == nullptr && m_action == Action::Clear && blockLook != nullptr) {
        clearBlock(m_model, false);
        return;
    }
    if (model == nullptr) {
        logText(m_model + " is not a Cell-DEVS model");
        return;
    }
    if (m_clamped) {
        logText("Colour components lie between 0 and 1: read as " + describe(m_colour));
    }
    SDCellLook& look = model->getLook();
    switch (m_action) {
        case Action::AddRule: {
            const int overlapping = look.addRule(model->getRules(), m_low, m_high, m_colour);
            const size_t number = model->getRules().getNumRules();
            logText(m_model + " rule " + std::to_string(number) + ": " +
                    formatText("%f <= value <= %f", m_low, m_high) + " is " + describe(m_colour));
            if (overlapping >= 0) {
                logText("Where it overlaps rule " + std::to_string(overlapping + 1) + ", rule " +
                        std::to_string(overlapping + 1) + " comes first and wins");
            }
            break;
        }
        case Action::Clear: {
            const size_t removed = look.clearRules(model->getRules());
            logText("Removed " + std::to_string(removed) + " colour rules of " + m_model);
            clearBlock(m_model, true);
            break;
        }
        case Action::NoValue:
            look.setNoValueColour(m_colour);
            logText(m_model + " cells with no value are " + describe(m_colour));
            break;
        case Action::Ramp:
            break;
    }
}

void VDColorCommand::clearBlock(const std::string& model, bool cells) {
    SDVisualization* visualization = getVisualization();
    SDBlockLook* look = visualization != nullptr ? visualization->getStructure()->findLook(model) : nullptr;
    if (cells) {
        // The cells' reply stands as it was; the block's rules are reported only when there were some.
        if (look != nullptr && !look->empty()) {
            logText("Removed " + std::to_string(look->clear()) + " colour rules of " + model + "'s block");
        }
        return;
    }
    const size_t removed = look != nullptr ? look->clear() : 0;
    logText("Removed " + std::to_string(removed) + " colour rules of " + model +
            ": its block shows its activity");
}

void VDColorCommand::executeOnPort(const std::string& model, const std::string& port) {
    SDVisualization* visualization = getVisualization();
    SDModelStructure& structure = *visualization->getStructure();
    const SDModelTree& tree = structure.tree();
    const uint32_t node = tree.find(model);
    if (node == SDModelTree::kNone) {
        logText("No model named " + model);
        return;
    }
    // An output port of that name, or else an input port.
    const VCModelPorts ports = VCModelPorts::of(tree, visualization->getModelList(), node);
    auto has = [&](const std::vector<VCModelPorts::Port>& list) {
        return std::any_of(list.begin(), list.end(),
                           [&](const VCModelPorts::Port& p) { return p.name == port; });
    };
    int type = SDBlockLook::kOutputType;
    if (!has(ports.outputs)) {
        if (!has(ports.inputs)) {
            logText(model + " has no port named " + port);
            return;
        }
        type = SDBlockLook::kInputType;
    }
    const std::string label = model + "." + port;
    if (m_clamped && m_action == Action::AddRule) {
        logText("Colour components lie between 0 and 1: read as " + describe(m_colour));
    }
    SDBlockLook& look = structure.look(model);
    switch (m_action) {
        case Action::AddRule: {
            const int overlapping = look.addRule(type, port, m_low, m_high, m_colour);
            const size_t number = look.getRules().getNumRules();
            logText(label + " rule " + std::to_string(number) + ": " +
                    formatText("%f <= value <= %f", m_low, m_high) + " is " + describe(m_colour));
            if (overlapping >= 0) {
                logText("Where it overlaps rule " + std::to_string(overlapping + 1) + ", rule " +
                        std::to_string(overlapping + 1) + " comes first and wins");
            }
            break;
        }
        case Action::Clear:
            logText("Removed " + std::to_string(look.clearPort(type, port)) + " colour rules of " + label);
            break;
        case Action::Ramp: {
            look.setRamp(type, port);
            double minimum = 0.0;
            double maximum = 0.0;
            const uint32_t slot = tree.portSlot(node, port, type == SDBlockLook::kInputType);
            if (slot != SDModelTree::kNone && structure.history().range(slot, minimum, maximum)) {
                logText(model + " is coloured by the ramp of " + port +
                        formatText(" from %g to %g", minimum, maximum));
            } else {
                logText(model + " is coloured by the ramp of " + port +
                        ", which carries no value in the run");
            }
            break;
        }
        case Action::NoValue:
            break;
    }
}
