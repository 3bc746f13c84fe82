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

VDDEVSPlotEvent VDDEVSPlotEvent::hidden(bool hide) {
    VDDEVSPlotEvent event;
    event.m_clear = false;
    event.m_hide = hide;
    event.m_show = !hide;
    return event;
}

VDDEVSPlotEvent VDDEVSPlotEvent::placed(long long x, long long y, long long width, long long height) {
    VDDEVSPlotEvent event;
    event.m_clear = false;
    event.m_place = true;
    event.m_rect[0] = x;
    event.m_rect[1] = y;
    event.m_rect[2] = width;
    event.m_rect[3] = height;
    return event;
}

void VDDEVSPlotEvent::assignType() {
    m_type = TYPE;
}
