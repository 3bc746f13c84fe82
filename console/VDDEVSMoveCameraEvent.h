#pragma once

#include "gui/VDEvent.h"

// Asks the 3D view to move its camera: forward along the view, sideways, and up or down.
class VDDEVSMoveCameraEvent : public VDEvent {
  public:
    static constexpr int TYPE = 65000;

    VDDEVSMoveCameraEvent(float forwardMovement, float sideMovement, float verticalMovement);
    void assignType() override;

    float getForwardMovement() const { return m_forwardMovement; }
    float getSideMovement() const { return m_sideMovement; }
    float getVerticalMovement() const { return m_verticalMovement; }

  private:
    float m_forwardMovement;
    float m_sideMovement;
    float m_verticalMovement;
};
