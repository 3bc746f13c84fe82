#include "console/VDDEVSFitViewEvent.h"

VDDEVSFitViewEvent::VDDEVSFitViewEvent(const BoundingBox& box) : m_box(box) {
    VDDEVSFitViewEvent::assignType();
}

void VDDEVSFitViewEvent::assignType() {
    m_type = TYPE;
}
