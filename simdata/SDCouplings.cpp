#include "simdata/SDCouplings.h"

#include <algorithm>

namespace {

template <class T>
size_t appendMissing(std::vector<T>& to, const std::vector<T>& from) {
    size_t added = 0;
    for (const T& item : from) {
        if (std::find(to.begin(), to.end(), item) == to.end()) {
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
