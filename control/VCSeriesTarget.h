#pragma once

#include <string>
#include <vector>

#include "simdata/SDSeries.h"

// What a plot or a CSV file shows over time: a cell of a cell space ("life 3 4"), a port of a model
// ("top.out": what it sent there, or what reached it when the port is only an input), or a whole cell
// space ("life": the smallest, mean and largest value of its cells).
struct VCSeriesTarget {
    enum class Kind { Cell, Named };

    Kind kind = Kind::Named;
    // For a cell, the model; otherwise the word as typed: a model's name, or <model>.<port>.
    std::string name;
    long long x = 0;
    long long y = 0;
    long long z = 0;
    int coordinates = 0;  // how many were typed

    // From the words after the command: "<model> <x> [<y> [<z>]]" (whole numbers; missing ones read 0)
    // or one word. False for anything else.
    static bool parse(const std::vector<std::string>& words, VCSeriesTarget& target);

    // Reads the series from the open visualization, labelled as a legend names it ("life(3,4)", "top.out",
    // "life"). On failure `error` is the line that says why ("No model named x").
    bool fetch(SDSeries& series, std::string& error) const;

    // As it was typed, for messages.
    std::string text() const;
    bool operator==(const VCSeriesTarget& other) const;
    bool operator!=(const VCSeriesTarget& other) const { return !(*this == other); }
};
