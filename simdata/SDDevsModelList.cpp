#include "simdata/SDDevsModelList.h"

#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"

SDDevsModelList::~SDDevsModelList() = default;

SDDevsModel* SDDevsModelList::findModel(const std::string& name) const {
    auto found = m_models.find(name);
    return found == m_models.end() ? nullptr : found->second.get();
}

bool SDDevsModelList::addModel(SDDevsModel* model) {
    if (model == nullptr || model->name().empty()) {
        logMessage("Unable to add Model. No name specified");
        return false;
    }
    auto [position, inserted] = m_models.try_emplace(model->name());
    if (!inserted) {
        return false;
    }
    position->second.reset(model);
    ++m_revision;
    model->print();
    return true;
}

bool SDDevsModelList::addModelQuietly(std::unique_ptr<SDDevsModel> model) {
    if (model == nullptr || model->name().empty()) {
        return false;
    }
    auto [position, inserted] = m_models.try_emplace(model->name());
    if (!inserted) {
        return false;
    }
    position->second = std::move(model);
    ++m_revision;
    return true;
}

bool SDDevsModelList::removeModel(const std::string& name) {
    // The caller holds the record already (see the declaration), so releasing it leaks nothing.
    return takeModel(name).release() != nullptr;
}

std::unique_ptr<SDDevsModel> SDDevsModelList::takeModel(const std::string& name) {
    auto found = m_models.find(name);
    if (found == m_models.end()) {
        return nullptr;
    }
    std::unique_ptr<SDDevsModel> model = std::move(found->second);
    m_models.erase(found);
    ++m_revision;
    return model;
}

void SDDevsModelList::printAll() const {
    for (const auto& [name, model] : m_models) {
        logMessage("DEVS model: %s", name.c_str());
        logMessage("input ports:");
        for (const std::string& port : model->getInputPorts()) {
            logMessage("    -%s", port.c_str());
        }
        logMessage("output ports:");
        for (const std::string& port : model->getOutputPorts()) {
            logMessage("    -%s", port.c_str());
        }
        // A cell space's size, as its record prints it.
        if (const auto* cells = dynamic_cast<const SDCELLDevsModel*>(model.get())) {
            cells->printSize();
        }
    }
}
