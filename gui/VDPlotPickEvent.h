#pragma once

#include "gui/VDEvent.h"

// Raised by a plot when the pointer picks a place along its horizontal axis: the value there, in the
// plot's own units. It travels up to the plot's parent.
class VDPlotPickEvent : public VDWindowEvent {
  public:
    VDPlotPickEvent(int sourceId, double x) : VDWindowEvent(sourceId), m_x(x) {
        VDPlotPickEvent::assignType();
        m_routing = ROUTE_UP;
    }
    void assignType() override { m_type = PLOT_PICK; }
    double getX() const { return m_x; }

  private:
    double m_x;
};
