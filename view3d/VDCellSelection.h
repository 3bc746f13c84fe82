#pragma once

#include <limits>
#include <string>

class VCCellView;
class VCSimulation;
struct VDPickRay;

// The cell picked in the 3D view: which one it is, its outline in the picture, and the words the strip
// shows for it. A cell that goes away (the visualization closed, the model gone or shrunk) is let go.
class VDCellSelection {
  public:
    // Selects the nearest drawn cell the ray meets (hidden cells let it through), logging the line vis_cell
    // prints for it; clears the selection when it meets none. Only cells nearer than `within` along the ray
    // count. Returns whether a cell is selected.
    bool pick(VCSimulation* simulation, const VDPickRay& ray,
              float within = std::numeric_limits<float>::infinity());
    // The nearest drawn cell the ray meets nearer than `within`, where it is drawn (a laid-out block layer by
    // layer), as picking and the wheel's depth both need it.
    struct Hit {
        bool hit = false;
        float distance = 0.0f;
        std::string model;
        unsigned x = 0;
        unsigned y = 0;
        unsigned z = 0;
    };
    static Hit nearestCell(VCCellView& cells, const VDPickRay& ray,
                           float within = std::numeric_limits<float>::infinity());
    void clear() { m_active = false; }
    bool isActive() const { return m_active; }
    const std::string& getModel() const { return m_model; }
    // Where the cell is stored (the run's coordinates less the model's origin), as the view places it.
    unsigned getX() const { return m_x; }
    unsigned getY() const { return m_y; }
    unsigned getZ() const { return m_z; }

    // "life(3,4) = 1", or "life(3,4) has no value yet", at the current time; empty without a selection.
    std::string describe();
    // Outlines the cell's cube; in the 3D pass, with the camera's matrices loaded.
    void drawOutline(VCSimulation* simulation);

  private:
    bool m_active = false;
    std::string m_model;
    unsigned m_x = 0;
    unsigned m_y = 0;
    unsigned m_z = 0;
};
