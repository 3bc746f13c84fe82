#include "control/VCCellReading.h"

#include <climits>
#include <cstdio>

#include "control/VCSimulation.h"
#include "control/VCStateField.h"
#include "shell/LogFormat.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDStateTexts.h"
#include "simdata/SDTime.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"

namespace {

std::string cellLabel(const SDCELLDevsModel& model, const long long coordinates[3]) {
    const int dimensions = model.getLength() > 1 ? 3 : model.getHeight() > 1 ? 2 : 1;
    std::string label = model.name() + "(";
    for (int i = 0; i < dimensions; ++i) {
        label += (i > 0 ? "," : "") + std::to_string(coordinates[i]);
    }
    return label + ")";
}

// The state of a cell at `milliseconds`, named as the run names it: by its own coordinates (the stored
// ones plus the origin), with as many as it gave.
bool cellState(const SDStateTexts& states, const SDCELLDevsModel& model, const long long stored[3],
               double milliseconds, SDStateTexts::State& state) {
    if (states.empty()) {
        return false;
    }
    long long run[3];
    for (int i = 0; i < 3; ++i) {
        run[i] = stored[i] + model.getOrigin()[static_cast<size_t>(i)];
    }
    std::string reference;
    for (int dimensions : {2, 3, 1}) {
        reference = model.name() + "(";
        for (int i = 0; i < dimensions; ++i) {
            reference += (i > 0 ? "," : "") + std::to_string(run[i]);
        }
        reference += ")";
        uint32_t number = 0;
        if (states.find(reference, number)) {
            return states.at(number, milliseconds, state);
        }
    }
    return false;
}

template <class... Args>
std::string format(const char* pattern, Args... args) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

}  // namespace

VCCellReading VCCellReading::readStored(const std::string& model, unsigned x, unsigned y, unsigned z) {
    long long origin[3] = {0, 0, 0};
    SDVisualization* visualization = getVisualization();
    if (const auto* cells = visualization != nullptr ? dynamic_cast<const SDCELLDevsModel*>(
                                                           visualization->getModelList()->findModel(model))
                                                     : nullptr) {
        for (int axis = 0; axis < 3; ++axis) {
            origin[axis] = cells->getOrigin()[axis];
        }
    }
    return read(model, x + origin[0], y + origin[1], z + origin[2]);
}

VCCellReading VCCellReading::read(const std::string& model, long long x, long long y, long long z) {
    VCCellReading reading;
    reading.model = model;
    reading.x = x;
    reading.y = y;
    reading.z = z;
    SDVisualization* visualization = getVisualization();
    if (visualization == nullptr) {
        return reading;
    }
    SDDevsModel* found = visualization->getModelList()->findModel(model);
    auto* cells = dynamic_cast<SDCELLDevsModel*>(found);
    if (found == nullptr) {
        reading.result = Result::NoModel;
        return reading;
    }
    if (cells == nullptr) {
        reading.result = Result::NotCellModel;
        return reading;
    }
    reading.width = cells->getWidth();
    reading.height = cells->getHeight();
    reading.length = cells->getLength();
    reading.origin = cells->getOrigin();
    // Asked for in the run's coordinates; stored from the origin on. Saturated coordinates stay far
    // outside rather than wrapping.
    const long long asked[3] = {x, y, z};
    long long stored[3] = {0, 0, 0};
    bool below = false;
    for (int axis = 0; axis < 3; ++axis) {
        if (__builtin_sub_overflow(asked[axis], static_cast<long long>(reading.origin[axis]),
                                   &stored[axis])) {
            stored[axis] = asked[axis] < 0 ? LLONG_MIN : LLONG_MAX;
        }
        below = below || stored[axis] < 0;
    }
    if (below) {
        reading.result = reading.origin == std::array<int, 3>{} ? Result::Negative : Result::Outside;
        return reading;
    }
    if (stored[0] >= reading.width || stored[1] >= reading.height || stored[2] >= reading.length) {
        reading.result = Result::Outside;
        return reading;
    }
    reading.stored = {static_cast<unsigned>(stored[0]), static_cast<unsigned>(stored[1]),
                      static_cast<unsigned>(stored[2])};
    SDTimeCursor* cursor = visualization->getCursor();
    cursor->sync();
    reading.label = cellLabel(*cells, asked);
    const SDCellValues& values = cells->getValues();
    const size_t cell =
        (static_cast<size_t>(reading.stored[0]) * reading.height + reading.stored[1]) * reading.length +
        reading.stored[2];
    SDStateTexts::State state{};
    if (cellState(*visualization->getStateTexts(), *cells, stored, cursor->time(), state)) {
        reading.hasState = true;
        reading.state = VCStateField::oneLine(state.text);
        reading.stateSince = state.time;
    }
    if (!values.hasValue(cell)) {
        reading.result = Result::NoValue;
        return reading;
    }
    reading.result = Result::Value;
    reading.value = values.value(cell);
    reading.initial = values.isInitial(cell);
    reading.since = reading.initial ? 0.0 : cursor->timeAt(values.timeIndex(cell));
    return reading;
}

std::string VCCellReading::stateText() const {
    return hasState ? ", state " + state + " since " + SDTime(stateSince).toString() : "";
}

std::string VCCellReading::describe() const {
    switch (result) {
        case Result::NoVisualization:
            return "Unable to look up a cell. Visualization does not exist.";
        case Result::NoModel:
            return "No model named " + model;
        case Result::NotCellModel:
            return model + " is not a Cell-DEVS model";
        case Result::Negative:
            return format("Cell (%lld,%lld,%lld) has a negative coordinate", x, y, z);
        case Result::Outside: {
            // The name stays out of the formatted parts, which have a size limit.
            std::string text = format("Cell (%lld,%lld,%lld) is outside ", x, y, z) + model +
                               format("'s %ux%ux%u cells", width, height, length);
            if (origin != std::array<int, 3>{}) {
                // The run's own range, first cell to last.
                const long long last[3] = {origin[0] + static_cast<long long>(width) - 1,
                                           origin[1] + static_cast<long long>(height) - 1,
                                           origin[2] + static_cast<long long>(length) - 1};
                text += format(", (%d,%d,%d) to ", origin[0], origin[1], origin[2]) +
                        format("(%lld,%lld,%lld)", last[0], last[1], last[2]);
            }
            return text;
        }
        case Result::NoValue:
            return label + " has no value yet" + stateText();
        case Result::Value:
            if (hasState && !initial && stateSince == since) {
                return label + formatText(" = %f ", value) + state + " since " + SDTime(since).toString();
            }
            return label + formatText(" = %f since ", value) + SDTime(since).toString() +
                   (initial ? " (initial value)" : "") + stateText();
    }
    return "";
}
