#pragma once

#include <string>
#include <utility>
#include <vector>

#include "shell/app/CommandLine.h"
#include "shell/app/FrameSequence.h"

class VCSimulation;

// The work the command line asks for once the program is up, each step as the matching console command
// would do it, with its report in the log.

// Opens a visualization named after the first log (visualizationNameFor) and imports the logs in order;
// a log given twice is imported twice. Each log that cannot be imported is reported on standard error
// with the loader's message, and the rest are still imported; a cancelled import (Escape) is reported the
// same way and ends the sequence. The imports are read as the controller reads any (in slices when it has
// an import host), so this only starts them: advance() goes on once an import has ended.
//
// Model files (isModelFileName) among the logs are read in their turn, in slices as logs are. One that
// cannot be opened or is cancelled counts as a log that could not be imported; the lines one skips are
// reported on standard error too. Grid scenarios (SLScenarioFile::looksLike, whatever their names) are read
// as model files, but before every log wherever they stand, so that a run finds the cell space they declare.
// The visualization is named after the first log, or after the first model file when there is no log.
class CommandLineImports {
  public:
    explicit CommandLineImports(std::vector<std::string> logs);

    // Opens the visualization and starts the first log.
    void start();
    // After an import has ended: notes how it went and starts the next log. Does nothing while an import
    // runs or once all are done.
    void advance();

    bool done() const { return m_done; }
    // Whether every log was read whole (true for none).
    bool allImported() const { return m_allImported; }

  private:
    // Starts logs until one is being read in slices or none is left.
    void startNext();
    void noteEnd();
    void noteModelFileEnd(const std::string& path);

    std::vector<std::string> m_logs;
    std::vector<bool> m_modelFiles;  // per log: read as a model file
    size_t m_next = 0;
    bool m_started = false;
    bool m_done = false;
    bool m_allImported = true;
};

// Colours cell spaces from the command line's palette files, in order (see applyPalette), reporting on
// standard error each that cannot be applied and each line skipped. True when every one was applied.
bool applyCommandLinePalettes(const std::vector<CommandLine::Palette>& palettes);

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
    double timeAt(size_t index) override;
    bool goTo(size_t index) override;
    bool goToTime(double milliseconds) override;
    bool next() override;
    bool toStart() override;

  private:
    VCSimulation& m_simulation;
};
