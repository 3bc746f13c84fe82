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

// Digits with an optional leading '-': a layer is a whole number. Beyond the range of long long it
// saturates, so that it is refused as outside the block; `shown` is the number as the refusal names it.
bool wholeNumber(const std::string& text, long long& value, std::string& shown) {
    const bool negative = !text.empty() && text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    if (digits.empty()) {
        return false;
    }
    unsigned long long read = 0;
    constexpr unsigned long long kLimit = LLONG_MAX;
    for (char c : digits) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) {
            return false;
        }
        const auto digit = static_cast<unsigned long long>(c - '0');
        read = read > (kLimit - digit) / 10 ? kLimit : read * 10 + digit;
    }
    value = negative ? -static_cast<long long>(read) : static_cast<long long>(read);
    const size_t first = digits.find_first_not_of('0');
    shown = first == std::string::npos ? "0" : (negative ? "-" : "") + digits.substr(first);
    return true;
}

// The run's coordinate of the first layer along `axis` of the named cell space; 0 when there is none.
int firstLayer(const std::string& model, int axis) {
    SDVisualization* visualization = getVisualization();
    const auto* cells =
        visualization != nullptr
            ? dynamic_cast<const SDCELLDevsModel*>(visualization->getModelList()->findModel(model))
            : nullptr;
    return cells != nullptr ? cells->getOrigin()[axis] : 0;
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
        // A negative layer only where the space starts below 0.
        if (!wholeNumber(tokens[3], m_layer, m_layerText) ||
            (m_layer < 0 && firstLayer(m_model, m_axis) >= 0)) {
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
    // The layer is stored from the space's first one on.
    const long long first = cells->originOf(m_model)[m_axis];
    long long layer = 0;
    if (__builtin_sub_overflow(m_layer, first, &layer)) {
        layer = -1;  // far outside either way
    }
    if (layer < 0 || layer >= count || !cells->setSlice(m_model, m_axis, static_cast<unsigned>(layer))) {
        logText("Slice refused: " + m_model + " has " + kAxes[m_axis] + " from " + std::to_string(first) +
                " to " + std::to_string(count == 0 ? first : first + count - 1) + ", not " + m_layerText);
        return;
    }
    logText(cells->sliceReport(m_model));
}
