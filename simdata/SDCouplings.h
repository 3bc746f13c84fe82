#pragma once

#include <map>
#include <string>

#include "simdata/SDCoupledModel.h"

// The coupled models of a visualization as model files describe them, by model name: their components,
// their own ports and their links. A file read twice adds nothing the second time.
class SDCouplings {
  public:
    // Adds what `model` declares to the coupled model of that name; returns how many entries were new.
    size_t add(const std::string& name, const SDCoupledModel& model);
    // Null when no model file described a coupled model of that name.
    const SDCoupledModel* find(const std::string& name) const;
    const std::map<std::string, SDCoupledModel>& getModels() const { return m_models; }
    bool empty() const { return m_models.empty(); }

  private:
    std::map<std::string, SDCoupledModel> m_models;
};
