#pragma once

#include "scene/SDColourRamp.h"

// How values become colours on one model's ramp: the map, the range and whether the scale is linear or
// logarithmic. A value outside the range takes the colour of the nearer end. On coolwarm, a range from
// below 0 to above 0 is centred on 0: 0 takes the middle colour and the wider side spans its half of the
// ramp. On a log scale values at or below 0 (and all values when the range has no end above 0) take the
// low colour.
class SDColourScale {
  public:
    SDColourRamp::Map map = SDColourRamp::Map::Inferno;
    bool log = false;
    bool hasRange = false;  // without one every value is the middle colour
    double minimum = 0.0;
    double maximum = 0.0;

    // Where the value's colour is on the ramp, 0 .. 1 (0.5 for NaN).
    double position(double value) const;
    SDColourRamp::Colour colour(double value) const { return SDColourRamp::at(position(value), map); }
    // The value at height t (0 .. 1) of a colour bar over the range, and the height of a value on it.
    double valueAt(double t) const;
    double heightOf(double value) const;
    bool centred() const;
};
