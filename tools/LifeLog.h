#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "tools/LifeGrid.h"
#include "tools/LogLineWriter.h"

// Writes a Game of Life run as a Cell-DEVS message log in the simulator's line format. The model tree is
// Root(00) > top(01) > the cell space life(02) > the cells life(x,y)(id), ids counted from 03 in cell order
// (x outer, y inner). Generation g happens at g × 100 ms; the first generation brings the initial live
// cells to life. In each generation every cell whose state changed sends its new state (1 alive, 0 dead)
// as a Y message on port out to the cell space, and the cell space passes it on as X neighborchange
// messages to the cell's eight neighbours on the torus.

struct LifeLogOptions {
    int width = 20;
    int height = 20;
    int generations = 10;
    uint64_t seed = 1;
    double density = 0.3;
};

// What a run wrote.
struct LifeLogSummary {
    long long lines = 0;
    long long externalMessages = 0;  // X lines
    long long outputMessages = 0;    // Y lines
    int generations = 0;             // generations that changed at least one cell
};

// The smallest board: below three cells a side a cell's neighbours repeat on the torus.
constexpr int kLifeLogMinSide = 3;
constexpr long long kLifeLogMaxCells = 16LL * 1024 * 1024;
constexpr int kLifeLogMaxGenerations = 1000000;

class LifeLogWriter {
  public:
    explicit LifeLogWriter(std::ostream& out) : m_lines(out) {}

    // Writes the run that starts from `initial`, `generations` generations long (the first one is the
    // initial pattern). The run stops early once a generation changes nothing, as the simulator's would.
    // False when the board or count is out of range (nothing is written) or when writing failed.
    bool write(const LifeGrid& initial, int generations);
    const LifeLogSummary& summary() const { return m_summary; }

  private:
    void writeGeneration(const LifeGrid& before, const LifeGrid& after, long long time, bool more);

    LogLineWriter m_lines;
    LifeLogSummary m_summary;
};

// Validates the options and writes a run from a random board.
bool writeLifeLog(const LifeLogOptions& options, std::ostream& out, LifeLogSummary* summary = nullptr);
// Whether the options describe a run that can be written; `why` receives the reason when not.
bool validLifeLogOptions(const LifeLogOptions& options, std::string* why = nullptr);

// Simulated time as the log writes it: hh:mm:ss:mmm.
std::string formatLogTime(long long milliseconds);
// A cell's model reference, e.g. life(2,3)(26) on a board of height 8.
std::string lifeCellReference(int x, int y, int height);
