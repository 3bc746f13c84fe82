#include "control/VCModelReading.h"

#include "control/VCModelPorts.h"
#include "control/VCSimulation.h"
#include "control/VCStateField.h"
#include "loader/SLDataText.h"
#include "shell/LogFormat.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDCouplings.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDModelStructure.h"
#include "simdata/SDStateTexts.h"
#include "simdata/SDTime.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"

namespace {

void addPortLines(std::vector<std::string>& lines, const char* direction,
                  const std::vector<VCModelPorts::Port>& ports, const SDModelHistory& history, double now) {
    for (const VCModelPorts::Port& port : ports) {
        double value = 0.0;
        double since = 0.0;
        if (port.slot != SDModelTree::kNone && history.valueAt(port.slot, now, value, since)) {
            lines.push_back(std::string("  ") + direction + " " + port.name +
                            formatText(" = %f since ", value) + SDTime(since).toString());
        } else {
            lines.push_back(std::string("  ") + direction + " " + port.name + ": nothing yet");
        }
    }
}

}  // namespace

VCModelReading VCModelReading::read(const std::string& model) {
    VCModelReading reading;
    SDVisualization* visualization = getVisualization();
    if (visualization == nullptr) {
        reading.lines.push_back("Unable to describe model. Visualization does not exist.");
        return reading;
    }
    SDModelStructure& structure = *visualization->getStructure();
    const SDModelTree& tree = structure.tree();
    const uint32_t node = tree.find(model);
    if (node == SDModelTree::kNone) {
        reading.result = Result::NoModel;
        reading.lines.push_back("No model named " + model);
        return reading;
    }
    reading.result = Result::Model;
    const SDModelTree::Node& held = tree.node(node);
    const char* kind = held.cellSpace ? "cell space" : !held.children.empty() ? "coupled" : "atomic";
    std::string first = model + ": " + kind;
    if (held.parent != SDModelTree::kNone) {
        first += ", in ";
        first += tree.name(held.parent);
    } else if (model != SDModelTree::kRootName) {
        first += ", in " + std::string(SDModelTree::kRootName);
    } else {
        first += ", no parent";
    }
    for (size_t i = 0; i < held.children.size(); ++i) {
        first += i == 0 ? "; children " : ", ";
        first += tree.name(held.children[i]);
    }
    reading.lines.push_back(first);

    const double now = visualization->getCursor()->time();
    const SDModelHistory& history = structure.history();
    const VCModelPorts ports = VCModelPorts::of(tree, visualization->getModelList(), node);
    addPortLines(reading.lines, "in", ports.inputs, history, now);
    addPortLines(reading.lines, "out", ports.outputs, history, now);
    // The state it held, for runs that log states as text, with the number that gives its value.
    const SDStateTexts& states = *visualization->getStateTexts();
    uint32_t stateModel = 0;
    SDStateTexts::State state{};
    if (states.find(model, stateModel) && states.at(stateModel, now, state)) {
        double value = 0.0;
        const std::string number = SLDataText::number(state.text, VCStateField::fieldOf(states, model), value)
                                       ? formatText("= %f ", value)
                                       : "";
        reading.lines.push_back("  state " + number + VCStateField::oneLine(state.text) + " since " +
                                SDTime(state.time).toString());
    }

    const SDModelHistory::Done done = history.doneAt(node, now);
    const std::string next = !done.known    ? "unknown"
                             : done.passive ? "passive"
                                            : SDTime(done.next).toString();
    reading.lines.push_back("  next event: " + next);
    // Whether a grid scenario joins the space's opposite edges.
    const auto* cells = dynamic_cast<const SDCELLDevsModel*>(visualization->getModelList()->findModel(model));
    if (cells != nullptr && cells->getScenario() != nullptr && cells->getScenario()->wrapped >= 0) {
        reading.lines.push_back(std::string("  wrapped: ") +
                                (cells->getScenario()->wrapped != 0 ? "yes" : "no"));
    }
    // The couplings a model file declared for it.
    if (const SDCoupledModel* declared = visualization->getCouplings()->find(model)) {
        for (const SDLink& link : declared->links) {
            reading.lines.push_back("  link " + link.describe());
        }
    }
    return reading;
}
