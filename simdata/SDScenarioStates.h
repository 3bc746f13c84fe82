#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "simdata/SDInitialValues.h"

// What a grid scenario says about the cells of one space before the run: the numbers of the state every
// cell starts in, and of the states that take its place for some cells, kept so that the initial values
// can be taken from any field of the states (field k is the k-th number of a state, 0 the first).
// Coordinates are the run's own, negative ones included.
struct SDScenarioStates {
    struct Override {
        std::vector<std::array<int, 3>> cells;
        std::vector<double> numbers;
    };
    std::vector<double> defaults;
    std::vector<Override> overrides;  // in the file's order: a later one wins for a cell named twice
    int wrapped = -1;                 // 0 or 1 as the scenario says; -1 when it does not say

    // The values field `field` gives the cells of a space of these counts whose cell (0,0,0) lies at
    // `origin`: the default state's number for every cell, each override's for its cells. A state without a
    // number there gives none (an overridden cell then keeps the default's). Null when no state has one.
    std::unique_ptr<SDInitialValues> valuesOf(size_t field, const std::array<int, 3>& origin,
                                              const std::array<unsigned, 3>& counts) const;
};
