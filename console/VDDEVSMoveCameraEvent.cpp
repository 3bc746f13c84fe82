#include "console/VDDEVSMoveCameraEvent.h"

VDDEVSMoveCameraEvent::VDDEVSMoveCameraEvent(float forwardMovement, float sideMovement,
                                             float verticalMovement)
    : m_forwardMovement(forwardMovement), m_sideMovement(sideMovement), m_verticalMovement(verticalMovement) {
    VDDEVSMoveCameraEvent::assignType();
}

void VDDEVSMoveCameraEvent::assignType() {
    m_type = TYPE;
}
