#pragma once

#include "gui/VDEvent.h"
#include "scene/BoundingBox.h"

// Asks the 3D view to place its camera so that the whole box is in view.
class VDDEVSFitViewEvent : public VDEvent {
  public:
    static constexpr int TYPE = 65002;

    explicit VDDEVSFitViewEvent(const BoundingBox& box);
    void assignType() override;

    const BoundingBox& getBox() const { return m_box; }

  private:
    BoundingBox m_box;
};
