#include "console/VDColorCommand.h"

#include <algorithm>
#include <cstdio>

#include "console/CommandArguments.h"
#include "control/VCModelList.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"

namespace {

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

std::string format(const char* pattern, double a, double b) {
    char text[256];
    std::snprintf(text, sizeof text, pattern, a, b);
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
    } else if (keyword == "none") {
        m_action = Action::NoValue;
        fits = count == 6 || count == 7;
    } else {
        m_action = Action::AddRule;
        fits = count == 7 || count == 8;
    }
    if (!fits) {
        commandargs::answer(reply, commandargs::usage(m_name));
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
                reply, format("Rule refused: its low end %f is above its high end %f", m_low, m_high));
            return false;
        }
        readColour(tokens, 4);
    }
    commandargs::answer(reply, "Setting cell colours...");
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
    if (found == nullptr) {
        logText("No model named " + m_model);
        return;
    }
    auto* model = dynamic_cast<SDCELLDevsModel*>(found);
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
                    format("%f <= value <= %f", m_low, m_high) + " is " + describe(m_colour));
            if (overlapping >= 0) {
                logText("Where it overlaps rule " + std::to_string(overlapping + 1) + ", rule " +
                        std::to_string(overlapping + 1) + " comes first and wins");
            }
            break;
        }
        case Action::Clear: {
            const size_t removed = look.clearRules(model->getRules());
            logText("Removed " + std::to_string(removed) + " colour rules of " + m_model);
            break;
        }
        case Action::NoValue:
            look.setNoValueColour(m_colour);
            logText(m_model + " cells with no value are " + describe(m_colour));
            break;
    }
}
