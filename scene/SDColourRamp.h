#pragma once

#include <array>
#include <string>

// The colours of cell values. The default is the bright part of the inferno ramp, from a dark magenta
// through red and orange to a pale yellow: its lightness rises evenly, it reads on the black background,
// its two ends are far apart, and it holds nothing near the green of a cube without a value. Viridis (dark
// blue through green to yellow), the diverging coolwarm (blue through a light grey to red, for values on
// both sides of 0) and grey are there to choose.
class SDColourRamp {
  public:
    using Colour = std::array<float, 4>;
    enum class Map { Inferno, Viridis, Coolwarm, Grey };

    // The colour at t in 0 .. 1 (clamped; NaN reads as 0); alpha 1.
    static Colour at(double t, Map map = Map::Inferno);
    // The colour of `value` on a range: minimum at 0, maximum at 1. When the range is a single value
    // every value gets the colour at 0.5.
    static Colour forValue(double value, double minimum, double maximum);
    // Where `value` falls on the range, 0 .. 1 inside it (0.5 for a single-valued range). Finite for any two
    // finite ends and a finite value, however far apart; never NaN (a NaN value, or infinite ends, give 0.5).
    static double position(double value, double minimum, double maximum);

    // "inferno", "viridis", "coolwarm", "grey"; false for another name.
    static bool fromName(const std::string& name, Map& map);
    static const char* name(Map map);
};
