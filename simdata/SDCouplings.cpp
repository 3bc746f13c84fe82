#include "simdata/SDCouplings.h"

#include <unordered_set>

namespace {

// One text per entry, equal exactly when the entries are. A line feed never occurs in a name read from a
// line, so it keeps the parts apart.
const std::string& key(const std::string& port) {
    return port;
}

std::string key(const SDComponent& component) {
    return component.name + '\n' + component.type;
}

std::string key(const SDLink& link) {
    return link.fromPort + '\n' + link.fromModel + '\n' + link.toPort + '\n' + link.toModel;
}

// Looked up by a set of keys, not by a walk along `to`: a coupled model of many links is merged in linear
// time.
template <class T>
size_t appendMissing(std::vector<T>& to, const std::vector<T>& from) {
    if (from.empty()) {
        return 0;
    }
    std::unordered_set<std::string> held;
    held.reserve(to.size() + from.size());
    for (const T& item : to) {
        held.insert(key(item));
    }
    size_t added = 0;
    for (const T& item : from) {
        if (held.insert(key(item)).second) {
            to.push_back(item);
            ++added;
        }
    }
    return added;
}

std::string end(const std::string& port, const std::string& model) {
    return model.empty() ? port : port + "@" + model;
}

}  // namespace

std::string SDLink::describe() const {
    return end(fromPort, fromModel) + " -> " + end(toPort, toModel);
}

size_t SDCoupledModel::merge(const SDCoupledModel& other) {
    return appendMissing(components, other.components) + appendMissing(inputPorts, other.inputPorts) +
           appendMissing(outputPorts, other.outputPorts) + appendMissing(links, other.links);
}

size_t SDCouplings::add(const std::string& name, const SDCoupledModel& model) {
    if (name.empty() || model.empty()) {
        return 0;
    }
    return m_models[name].merge(model);
}

const SDCoupledModel* SDCouplings::find(const std::string& name) const {
    auto found = m_models.find(name);
    return found == m_models.end() ? nullptr : &found->second;
}
