#pragma once

#include <string>
#include <vector>

// One value over the time of a run, as plots and CSV files show it.
//
// A plain series holds the times (milliseconds, ascending, each once) at which the value was set and the
// value set then, which holds until the next of them; of several messages at one time the last counts. A
// cell's initial value is set at the start. A spread series sums up a cell space instead: at every time of
// the run the cursor can stand at (the start only when a cell has an initial value), the smallest, the
// mean and the largest finite value among its cells that hold one, or NaN in all three while none does.
struct SDSeries {
    std::string label;
    bool spread = false;
    std::vector<double> times;
    std::vector<double> values;   // the mean, for a spread
    std::vector<double> minimum;  // a spread's; empty otherwise
    std::vector<double> maximum;

    size_t size() const { return times.size(); }
};
