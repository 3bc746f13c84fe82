#include "view3d/VDTimeBar.h"

#include <cmath>

#include "control/VCSimulation.h"
#include "gui/VDEvent.h"

VDTimeBar::VDTimeBar() {
    setOrientation(HORIZONTAL);
    setPointerPlacesThumb(true);
}

VDTimeBar::~VDTimeBar() = default;

bool VDTimeBar::handleEvent(VDEvent* event) {
    // Nothing to show or to move: the bar neither draws nor takes the pointer.
    if (!m_hasRun && (event->getType() == VDEvent::REDISPLAY || event->getType() == VDEvent::MOUSE_DOWN)) {
        return false;
    }
    return VDScrollBar::handleEvent(event);
}

void VDTimeBar::follow(VCSimulation* simulation) {
    const size_t count = simulation != nullptr ? simulation->timeCount() : 0;
    m_hasRun = count > 0;
    if (!m_hasRun) {
        setMax(0);
        showValue(0);
        return;
    }
    m_first = simulation->timeAt(0);
    m_last = simulation->timeAt(count - 1);
    const double span = m_last - m_first;
    // A run at one time has nowhere to go: the thumb fills the bar.
    if (getMax() != (span > 0.0 ? kResolution : 0)) {
        setMax(span > 0.0 ? kResolution : 0);
    }
    if (span <= 0.0) {
        showValue(0);
        return;
    }
    const double place = (simulation->currentTime() - m_first) / span * kResolution;
    showValue(place <= 0.0 ? 0 : place >= kResolution ? kResolution : static_cast<int>(std::lround(place)));
}

bool VDTimeBar::eventTimeAt(VCSimulation& simulation, int value, double& milliseconds) const {
    const size_t count = simulation.timeCount();
    if (!m_hasRun || count == 0) {
        return false;
    }
    const double wanted = m_first + (m_last - m_first) * value / kResolution;
    // The first event time after the wanted one, then whichever of it and the one before is nearer.
    size_t low = 0;
    size_t high = count;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (simulation.timeAt(middle) <= wanted) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == count) {
        milliseconds = simulation.timeAt(count - 1);
    } else if (low == 0) {
        milliseconds = simulation.timeAt(0);
    } else {
        const double after = simulation.timeAt(low);
        const double before = simulation.timeAt(low - 1);
        milliseconds = after - wanted < wanted - before ? after : before;
    }
    return true;
}
