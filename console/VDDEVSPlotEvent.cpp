#include "console/VDDEVSPlotEvent.h"

VDDEVSPlotEvent::VDDEVSPlotEvent(const VCSeriesTarget& target) : m_clear(false), m_target(target) {
    VDDEVSPlotEvent::assignType();
}

VDDEVSPlotEvent::VDDEVSPlotEvent() : m_clear(true) {
    VDDEVSPlotEvent::assignType();
}

void VDDEVSPlotEvent::assignType() {
    m_type = TYPE;
}
