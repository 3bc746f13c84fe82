#pragma once

#include <string>

class VCSimulation;
struct VDPickRay;

// The model block picked in the 3D view: which model it is, its outline in the picture, and the words the
// strip shows for it. A model that goes away (the visualization closed) is let go.
class VDBlockSelection {
  public:
    // The model whose block the ray points at, nearer than `within`, or empty; `distance` along the ray.
    // Selects nothing: what a click chooses between a block and a cell is the caller's.
    static std::string blockAt(VCSimulation* simulation, const VDPickRay& ray, float& distance);
    // Selects the model and logs the lines vis_model prints for it.
    void select(const std::string& model);
    void clear() { m_model.clear(); }
    bool isActive() const { return !m_model.empty(); }
    const std::string& getModel() const { return m_model; }

    // "gunner: waiting", "gunner: active", ... at the current time; empty without a selection.
    std::string describe(VCSimulation* simulation);
    // Outlines the block; in the 3D pass, with the camera's matrices loaded.
    void drawOutline(VCSimulation* simulation);

  private:
    std::string m_model;
};
