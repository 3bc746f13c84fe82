#include "console/VDDEVSRotateCameraEvent.h"

VDDEVSRotateCameraEvent::VDDEVSRotateCameraEvent(float yawChange, float pitchChange, float rollChange)
    : m_yawChange(yawChange), m_pitchChange(pitchChange), m_rollChange(rollChange) {
    VDDEVSRotateCameraEvent::assignType();
}

void VDDEVSRotateCameraEvent::assignType() {
    m_type = TYPE;
}
