#include "console/VDDEVSPlotEvent.h"

VDDEVSPlotEvent::VDDEVSPlotEvent(const VCSeriesTarget& target) : m_clear(false), m_target(target) {
    VDDEVSPlotEvent::assignType();
}

VDDEVSPlotEvent::VDDEVSPlotEvent() : m_clear(true) {
    VDDEVSPlotEvent::assignType();
}

VDDEVSPlotEvent VDDEVSPlotEvent::runClosed() {
    VDDEVSPlotEvent closed;
    closed.m_runClosed = true;
    return closed;
}

void VDDEVSPlotEvent::assignType() {
    m_type = TYPE;
}
