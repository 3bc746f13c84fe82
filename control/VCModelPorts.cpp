#include "control/VCModelPorts.h"

#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDModelTree.h"

VCModelPorts VCModelPorts::of(const SDModelTree& tree, const SDDevsModelList* registry, uint32_t model) {
    VCModelPorts ports;
    const std::string name(tree.name(model));
    const SDDevsModel* record = registry != nullptr ? registry->findModel(name) : nullptr;
    if (record != nullptr && dynamic_cast<const SDCELLDevsModel*>(record) == nullptr &&
        !tree.node(model).cellSpace) {
        for (const std::string& port : record->getInputPorts()) {
            ports.inputs.push_back(Port{port, tree.portSlot(model, port, true)});
        }
        for (const std::string& port : record->getOutputPorts()) {
            ports.outputs.push_back(Port{port, tree.portSlot(model, port, false)});
        }
        return ports;
    }
    const SDModelTree::Node& node = tree.node(model);
    for (const SDModelTree::Port& port : node.inputs) {
        ports.inputs.push_back(Port{std::string(tree.portNames().name(port.name)), port.slot});
    }
    for (const SDModelTree::Port& port : node.outputs) {
        ports.outputs.push_back(Port{std::string(tree.portNames().name(port.name)), port.slot});
    }
    return ports;
}
