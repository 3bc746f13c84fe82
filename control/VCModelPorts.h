#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SDDevsModelList;
class SDModelTree;

// The ports a model shows, in the order vis_model lists them and its block stacks them: inputs, then
// outputs, each in first-appearance order. A plain model has the ports its record in the registry keeps;
// a cell space has those of its own messages with its parent (its cells' ports are the cells' own).
struct VCModelPorts {
    struct Port {
        std::string name;
        uint32_t slot;  // the port's values in the history; SDModelTree::kNone when it never carried one
    };
    std::vector<Port> inputs;
    std::vector<Port> outputs;

    static VCModelPorts of(const SDModelTree& tree, const SDDevsModelList* registry, uint32_t model);
};
