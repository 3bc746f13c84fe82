#pragma once

#include <array>
#include <string>

// What one cell of a Cell-DEVS model of the open visualization holds at the current time: what the
// vis_cell command prints, and what the 3D view shows for a picked cell.
struct VCCellReading {
    enum class Result { NoVisualization, NoModel, NotCellModel, Negative, Outside, NoValue, Value };

    Result result = Result::NoVisualization;
    // name(x), name(x,y) or name(x,y,z): as many coordinates as the space has dimensions.
    std::string label;
    double value = 0.0;
    double since = 0.0;    // milliseconds: when the value was sent
    bool initial = false;  // the value is the cell's initial value (since 0): it has sent nothing yet
    // The whole text of the state the cell held, for runs that log states as text.
    bool hasState = false;
    std::string state;  // on one line
    double stateSince = 0.0;

    // Reads the cell (x, y, z) of `model`, in the run's own coordinates (stored at (x, y, z) minus the
    // model's origin), bringing the cell values up to date with the time cursor.
    static VCCellReading read(const std::string& model, long long x, long long y, long long z);
    // The same for the cell stored at (x, y, z), as the view places and picks it.
    static VCCellReading readStored(const std::string& model, unsigned x, unsigned y, unsigned z);

    // The line vis_cell prints: "life(3,4) = 1.000000 since 00:00:02:000", "life(3,4) has no value yet",
    // "fallrock(0,0,0) = 0.000000 since 00:00:00:000 (initial value)", or why there is no such cell (of a
    // space not starting at 0, with its range: "... is outside cells's 5x3x1 cells, (-2,-1,0) to (2,1,0)").
    // With a state text, the text follows the number ("cells(3,4) = 0.500000 <0.5,12> since
    // 00:00:01:500"), or, when the value is not the state's own (it came earlier, or there is none), the
    // state follows the rest: "cells(3,4) = 0.500000 since 00:00:01:500, state closed since 00:00:02:000".
    std::string describe() const;

    // Kept for the refusals, which name what was asked for.
    std::string model;
    long long x = 0;
    long long y = 0;
    long long z = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned length = 0;
    std::array<int, 3> origin{};
    // Where the cell is stored, for a Value or NoValue result.
    std::array<unsigned, 3> stored{};

  private:
    // ", state <text> since <time>", or nothing without a state.
    std::string stateText() const;
};
