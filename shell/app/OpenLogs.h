#pragma once

#include <string>
#include <vector>

#include "shell/app/FrameSequence.h"

class VCSimulation;

// The work the command line asks for once the program is up, each step as the matching console command
// would do it, with its report in the log.

// Opens a visualization named after the first log (visualizationNameFor) and imports the logs in order;
// a log given twice is imported twice. Each log that cannot be imported is reported on standard error
// with the loader's message, and the rest are still imported. True when every log was imported.
bool openLogs(const std::vector<std::string>& logs);

// Places the camera so that the whole run is in view, as vis_fit does.
void fitViewToRun();

// Puts the time cursor at `time`: "HH:MM:SS:MS" (the latest event time at or before it), "start" or "end",
// and logs the time it stands at. False, after a message on standard error, when no run is open.
bool moveTimeCursor(const std::string& time);

// The open run's event times, walked by the controller's time cursor.
class CursorClock : public FrameClock {
  public:
    explicit CursorClock(VCSimulation& simulation) : m_simulation(simulation) {}
    size_t count() override;
    bool goTo(size_t index) override;
    bool next() override;

  private:
    VCSimulation& m_simulation;
};
