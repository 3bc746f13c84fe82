#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tools/HeatField.h"

// Writes a heat diffusion run (HeatField) as a Cell-DEVS message log in the simulator's line format. The
// model tree is Root(00) > top(01) > the cell space <name>(02) > its cells, <name>(x,y)(id) on a plane and
// <name>(x,y,z)(id) in a box, ids counted from 03 in cell order (x outermost).
//
// Sources sit at the corners of the box, hot and cold in turn, and at `sources` more cells drawn from the
// seed; hot ones are held at 100, cold ones at -50, every other cell starts at 20. Step s happens at
// s × 100 ms, step 0 being the start; between two steps the field diffuses `substeps` times. A cell reports
// like a quantized cell: when its temperature is at least `quantum` away from the last value it sent (the
// ambient 20 before it sent any), it sends the new value as a Y message on port out to the cell space,
// followed by its D line; with `neighbours`, the cell space then passes each new value on as X neighborchange
// messages to the cell's face neighbours. Only cells that report write lines, so a large box stays a log of
// moderate size.

struct HeatLogOptions {
    int width = 40;
    int height = 40;
    int depth = 1;
    bool threeD = false;  // cell references with three coordinates (also for a depth of 1)
    int steps = 20;
    int substeps = 1;  // diffusion steps between two reporting times: heat spreads further per step
    uint64_t seed = 1;
    int sources = 4;
    double quantum = 0.5;
    bool neighbours = true;
    std::string name = "heat";  // the cell space's name
};

struct HeatLogSummary {
    long long lines = 0;
    long long externalMessages = 0;  // X lines
    long long outputMessages = 0;    // Y lines
    long long cellsReported = 0;     // distinct cells that sent at least once
};

constexpr long long kHeatLogMaxCells = 16LL * 1024 * 1024;
constexpr int kHeatLogMaxSteps = 1000000;
constexpr int kHeatLogMaxSubsteps = 10000;
constexpr double kHeatAmbient = 20.0;
constexpr double kHeatHot = 100.0;
constexpr double kHeatCold = -50.0;

// Whether the options describe a run that can be written; `why` receives the reason when not.
bool validHeatLogOptions(const HeatLogOptions& options, std::string* why = nullptr);
// Validates the options and writes the run. False when they are invalid (nothing is written) or writing
// failed.
bool writeHeatLog(const HeatLogOptions& options, std::ostream& out, HeatLogSummary* summary = nullptr);

// The field at step 0 with its sources placed, as writeHeatLog starts it.
HeatField heatFieldAtStart(const HeatLogOptions& options);

// A cell's model reference, e.g. heat(2,3)(26) on a plane of height 8, or heat(1,0,2)(...) in a box.
std::string heatCellReference(const HeatLogOptions& options, int x, int y, int z);
