#pragma once

#include <string>

#include "scene/SDColourScale.h"

class SDCELLDevsModel;

// The colour scale a cell space's ramp uses at the current time, from its look (SDCellLook: the kind of
// range, the map, the scale) and its values. A model whose values are a few whole numbers (the Values
// legend) keeps the whole log's range by default, so that each value keeps a colour of its own.
class VCColourRange {
  public:
    struct InUse {
        SDColourScale scale;
        // Some value (of the whole log; of the current time for the range of now) lies below or above the
        // range, and so takes an end colour.
        bool below = false;
        bool above = false;
        // On a log scale: some value is 0 or below, and takes the low colour.
        bool notPositive = false;
        // The default range narrowed to the values of now, as the run has settled into a sliver of its
        // range; `below` and `above` then tell of now.
        bool settled = false;
    };
    static InUse of(SDCELLDevsModel& model);
    // "Colour range of surface: 20 .. 28.5 (robust)", "... 24.3 .. 24.8 (settled)", or "... no value yet
    // (robust)".
    static std::string describe(const std::string& name, SDCELLDevsModel& model);
};
