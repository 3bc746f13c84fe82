#include "view3d/VDTimeLabel.h"

#include "control/VCSimulation.h"
#include "simdata/SDTime.h"

std::string VDTimeLabel::compose(VCSimulation* simulation, const std::string& extra) {
    if (simulation == nullptr || getVisualization() == nullptr) {
        return "";
    }
    const size_t count = simulation->timeCount();
    const double last = count > 0 ? simulation->timeAt(count - 1) : 0.0;
    std::string text = SDTime(simulation->currentTime()).toString() + " / " + SDTime(last).toString();
    if (simulation->isPlaying()) {
        text += "  playing";
    }
    if (!extra.empty()) {
        text += "  " + extra;
    }
    return text;
}

bool VDTimeLabel::follow(VCSimulation* simulation, const std::string& extra) {
    std::string text = compose(simulation, extra);
    if (text == m_text) {
        return false;
    }
    m_text = std::move(text);
    return true;
}
