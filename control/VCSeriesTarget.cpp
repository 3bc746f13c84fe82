#include "control/VCSeriesTarget.h"

#include <climits>

#include "control/VCCellReading.h"
#include "control/VCSimulation.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDValueHistory.h"
#include "simdata/SDVisualization.h"

namespace {

// A whole decimal number with an optional sign; beyond the range of long long it saturates (and then
// names no cell).
bool wholeNumber(const std::string& word, long long& value) {
    const bool negative = !word.empty() && word[0] == '-';
    size_t at = !word.empty() && (word[0] == '-' || word[0] == '+') ? 1 : 0;
    if (at == word.size()) {
        return false;
    }
    long long magnitude = 0;
    for (; at < word.size(); ++at) {
        if (word[at] < '0' || word[at] > '9') {
            return false;
        }
        const int digit = word[at] - '0';
        magnitude = magnitude > (LLONG_MAX - digit) / 10 ? LLONG_MAX : magnitude * 10 + digit;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

// The ports a model can be plotted on, outputs first.
std::string portList(const SDDevsModel& model) {
    std::string list;
    for (const std::string& port : model.getOutputPorts()) {
        list += (list.empty() ? "" : ", ") + port;
    }
    for (const std::string& port : model.getInputPorts()) {
        if (!model.hasOutputPort(port)) {
            list += (list.empty() ? "" : ", ") + port;
        }
    }
    return list.empty() ? "none" : list;
}

}  // namespace

bool VCSeriesTarget::parse(const std::vector<std::string>& words, VCSeriesTarget& target) {
    if (words.empty() || words.size() > 4 || words[0].empty()) {
        return false;
    }
    VCSeriesTarget parsed;
    parsed.name = words[0];
    parsed.kind = words.size() == 1 ? Kind::Named : Kind::Cell;
    long long* coordinates[3] = {&parsed.x, &parsed.y, &parsed.z};
    for (size_t i = 1; i < words.size(); ++i) {
        if (!wholeNumber(words[i], *coordinates[i - 1])) {
            return false;
        }
    }
    parsed.coordinates = static_cast<int>(words.size()) - 1;
    target = parsed;
    return true;
}

bool VCSeriesTarget::fetch(SDSeries& series, std::string& error) const {
    SDVisualization* visualization = getVisualization();
    if (visualization == nullptr) {
        error = "Visualization does not exist.";
        return false;
    }
    SDDevsModelList& models = *visualization->getModelList();
    SDTimeCursor& cursor = *visualization->getCursor();
    if (kind == Kind::Cell) {
        // The same checks, and the same label, as vis_cell.
        const VCCellReading reading = VCCellReading::read(name, x, y, z);
        if (reading.result != VCCellReading::Result::Value &&
            reading.result != VCCellReading::Result::NoValue) {
            error = reading.describe();
            return false;
        }
        const auto* cells = dynamic_cast<const SDCELLDevsModel*>(models.findModel(name));
        if (cells == nullptr || !SDValueHistory::cell(cursor, *cells, reading.stored[0], reading.stored[1],
                                                      reading.stored[2], series)) {
            error = name + " has no values to read";
            return false;
        }
        series.label = reading.label;
        return true;
    }
    if (const SDDevsModel* model = models.findModel(name)) {
        const auto* cells = dynamic_cast<const SDCELLDevsModel*>(model);
        if (cells == nullptr) {
            error = name + " is not a Cell-DEVS model: name one of its ports (" + portList(*model) +
                    "), as " + name + ".<port>";
            return false;
        }
        if (!SDValueHistory::spread(cursor, *cells, series)) {
            error = name + " has no values to read";
            return false;
        }
        series.label = name;
        return true;
    }
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) {
        error = "No model named " + name;
        return false;
    }
    const std::string modelName = name.substr(0, dot);
    const std::string port = name.substr(dot + 1);
    const SDDevsModel* model = models.findModel(modelName);
    if (model == nullptr) {
        error = "No model named " + modelName;
        return false;
    }
    // A port that is both: what the model sends is its own value.
    bool read = false;
    if (model->hasOutputPort(port)) {
        read = SDValueHistory::output(cursor, modelName, port, series);
    } else if (model->hasInputPort(port)) {
        read = SDValueHistory::input(*visualization->getEventList(), modelName, port, series);
    } else {
        error = modelName + " has no port named " + port + " (its ports: " + portList(*model) + ")";
        return false;
    }
    if (!read) {
        // Known as a port, but no value of it was indexed: nothing was ever set on it.
        series = SDSeries();
    }
    series.label = name;
    return true;
}

std::string VCSeriesTarget::text() const {
    if (kind == Kind::Named) {
        return name;
    }
    std::string text = name;
    const long long values[3] = {x, y, z};
    for (int i = 0; i < coordinates; ++i) {
        text += " " + std::to_string(values[i]);
    }
    return text;
}

bool VCSeriesTarget::operator==(const VCSeriesTarget& other) const {
    // Cells compare by the cell they name, however many coordinates were typed.
    return kind == other.kind && name == other.name &&
           (kind == Kind::Named || (x == other.x && y == other.y && z == other.z));
}
