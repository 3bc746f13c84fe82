#pragma once

#include <string>

#include "gui/VDEvent.h"
#include "scene/BoundingBox.h"

// Asks the 3D view to place its camera so that the whole box is in view, from the named direction
// (VDViewPresets) or, without one, from the direction the view chooses.
class VDDEVSFitViewEvent : public VDEvent {
  public:
    static constexpr int TYPE = 65002;

    explicit VDDEVSFitViewEvent(const BoundingBox& box, std::string preset = "");
    void assignType() override;

    const BoundingBox& getBox() const { return m_box; }
    const std::string& getPreset() const { return m_preset; }

  private:
    BoundingBox m_box;
    std::string m_preset;
};
