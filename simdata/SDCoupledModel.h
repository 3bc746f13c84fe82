#pragma once

#include <string>
#include <vector>

// A coupling of a coupled model, from a model file's "link" line: from a port of a component (or of the
// coupled model itself when the model is empty) to another.
struct SDLink {
    std::string fromPort;
    std::string fromModel;  // empty: the coupled model's own port
    std::string toPort;
    std::string toModel;

    // "out@gunner -> fin@loader", "ammu_in -> ain@loader".
    std::string describe() const;
    bool operator==(const SDLink& o) const {
        return fromPort == o.fromPort && fromModel == o.fromModel && toPort == o.toPort &&
               toModel == o.toModel;
    }
};

// A child of a coupled model, with the atomic type given after '@' (empty when none is given).
struct SDComponent {
    std::string name;
    std::string type;
    bool operator==(const SDComponent& o) const { return name == o.name && type == o.type; }
};

// What a model file says of one coupled model: its children, its own ports and its couplings.
struct SDCoupledModel {
    std::vector<SDComponent> components;
    std::vector<std::string> inputPorts;
    std::vector<std::string> outputPorts;
    std::vector<SDLink> links;

    bool empty() const {
        return components.empty() && inputPorts.empty() && outputPorts.empty() && links.empty();
    }
    // Adds what `other` has and this lacks, keeping the order; returns how many entries were added.
    size_t merge(const SDCoupledModel& other);
};
