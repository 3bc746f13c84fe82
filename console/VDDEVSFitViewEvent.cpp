#include "console/VDDEVSFitViewEvent.h"

#include <utility>

VDDEVSFitViewEvent::VDDEVSFitViewEvent(const BoundingBox& box, std::string preset)
    : m_box(box), m_preset(std::move(preset)) {
    VDDEVSFitViewEvent::assignType();
}

void VDDEVSFitViewEvent::assignType() {
    m_type = TYPE;
}
