#pragma once

#include "gui/VDEvent.h"

// Asks the 3D view to turn its camera by yaw, pitch and roll changes, in degrees.
class VDDEVSRotateCameraEvent : public VDEvent {
  public:
    static constexpr int TYPE = 65001;

    VDDEVSRotateCameraEvent(float yawChange, float pitchChange, float rollChange);
    void assignType() override;

    float getYawChange() const { return m_yawChange; }
    float getPitchChange() const { return m_pitchChange; }
    float getRollChange() const { return m_rollChange; }

  private:
    float m_yawChange;
    float m_pitchChange;
    float m_rollChange;
};
