#pragma once

#include <cstdint>
#include <ostream>
#include <string>

// Writes a Game of Life run as a Cadmium 1 pair: a message file and a state file. The cells are
// life_(x,y) with x from `originX` and y from `originY` (negative ones allowed), on a torus. Generation g is
// at g × 100 ms, "HH:MM:SS:mmm" time lines. Every file opens with every cell's state at 0 and a clock
// model's.
// - Messages: at each generation every cell whose state changed sends it on cell_out (a port type name
//   with "::", '<' … '>' and ", "), with its other port empty; the clock sends the generation's number.
// - States: each cell whose state or count of live neighbours changed writes "<alive, neighbours>", and the
//   clock "{generation: g}".

struct Cadmium1LogOptions {
    int width = 20;
    int height = 20;
    int generations = 10;
    uint64_t seed = 1;
    double density = 0.3;
    int originX = 0;
    int originY = 0;
};

struct Cadmium1LogSummary {
    long long messageLines = 0;
    long long stateLines = 0;
};

// Whether the options describe a run that can be written; `why` receives the reason when not.
bool validCadmium1LogOptions(const Cadmium1LogOptions& options, std::string* why = nullptr);
// Validates the options and writes both files. False when they are invalid or writing failed.
bool writeCadmium1Log(const Cadmium1LogOptions& options, std::ostream& messages, std::ostream& states,
                      Cadmium1LogSummary* summary = nullptr);
