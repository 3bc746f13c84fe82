#pragma once

#include <string>

#include "gui/VDLabel.h"

class VCSimulation;

// The strip's line about time: "00:00:03:000 / 00:01:50:000" (the current and the last event time), then
// "playing" while playback runs, then whatever the view adds (the picked cell and its value). Empty while
// no visualization is open.
class VDTimeLabel : public VDLabel {
  public:
    // Brings the text up to date; returns whether it changed.
    bool follow(VCSimulation* simulation, const std::string& extra);

    static std::string compose(VCSimulation* simulation, const std::string& extra);
};
