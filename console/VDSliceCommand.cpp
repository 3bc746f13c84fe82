#include "console/VDSliceCommand.h"

#include <cctype>
#include <climits>

#include "console/CommandArguments.h"
#include "control/VCCellView.h"
#include "control/VCSimulation.h"
#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDVisualization.h"

namespace {

constexpr const char* kAxes[3] = {"x", "y", "z"};

// Digits only: a layer is a whole number from 0. One beyond every layer reads as the largest value, so that
// it is refused as outside the block; `shown` is the number as the refusal names it.
bool wholeNumber(const std::string& text, unsigned long& value, std::string& shown) {
    if (text.empty()) {
        return false;
    }
    unsigned long read = 0;
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) {
            return false;
        }
        const auto digit = static_cast<unsigned long>(c - '0');
        read = read > (ULONG_MAX - digit) / 10 ? ULONG_MAX : read * 10 + digit;
    }
    value = read;
    const size_t first = text.find_first_not_of('0');
    shown = first == std::string::npos ? "0" : text.substr(first);
    return true;
}

}  // namespace

VDSliceCommand::VDSliceCommand() : VDConsoleCommand("vis_slice") {}
VDSliceCommand::~VDSliceCommand() = default;

bool VDSliceCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    const bool off = tokens.size() == 3 && tokens[2] == "off";
    if (!off && tokens.size() != 4) {
        commandargs::answer(reply, commandargs::usage(m_name));
        return false;
    }
    m_model = tokens[1];
    m_axis = -1;
    if (!off) {
        for (int axis = 0; axis < 3; ++axis) {
            if (tokens[2] == kAxes[axis]) {
                m_axis = axis;
            }
        }
        if (m_axis < 0) {
            commandargs::answer(reply, "Slice refused: the axis is x, y or z, not " + tokens[2]);
            return false;
        }
        if (!wholeNumber(tokens[3], m_layer, m_layerText)) {
            commandargs::answer(reply, "Slice refused: the layer is a whole number from 0, not " + tokens[3]);
            return false;
        }
    }
    commandargs::answer(reply, "Slicing the cells...");
    return true;
}

void VDSliceCommand::execute() {
    dispose();
    VCSimulation* simulation = getSimulation();
    VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    if (commandargs::cellSpace(m_model, "slice") == nullptr || cells == nullptr) {
        return;
    }
    cells->updateLayout();
    if (m_axis < 0) {
        cells->clearSlice(m_model);
        logText(cells->sliceReport(m_model));
        return;
    }
    unsigned counts[3] = {0, 0, 0};
    cells->getCounts(m_model, counts);
    const unsigned count = counts[m_axis];
    if (m_layer >= count || !cells->setSlice(m_model, m_axis, static_cast<unsigned>(m_layer))) {
        logText("Slice refused: " + m_model + " has " + kAxes[m_axis] + " from 0 to " +
                std::to_string(count == 0 ? 0 : count - 1) + ", not " + m_layerText);
        return;
    }
    logText(cells->sliceReport(m_model));
}
