#pragma once

#include <string>
#include <vector>

// What vis_model prints for one model of the open visualization at the current time, in one place for the
// command and for a picked block:
//
//     gunner: coupled, in top; children electric_fire, manual_fire, emergency_fire, fire
//       in ecin = 1.000000 since 00:00:20:000
//       out out: nothing yet
//       next event: 00:00:20:004
//
// The kind is "cell space" (its cells appear in the log), "coupled" (it has children) or "atomic"; the
// parent is "Root" for a model at the top. A port line gives the last value the model received (in) or sent
// (out) on it at or before the current time; the last line comes from its last D at or before then:
// "passive" for "...", the D's time plus its delay, or "unknown" without one. Before it, for a model that
// logged its state as text, the state it held then, with the number that gives its value when the text has
// it: "  state = 0.500000 <0.5,12> since 00:00:01:500", "  state closed since 00:00:02:000".
struct VCModelReading {
    enum class Result { NoVisualization, NoModel, Model };

    Result result = Result::NoVisualization;
    // The lines to print, the refusals included.
    std::vector<std::string> lines;

    static VCModelReading read(const std::string& model);
};
