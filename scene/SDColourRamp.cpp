#include "scene/SDColourRamp.h"

#include <cmath>
#include <cstddef>

namespace {

// Evenly spaced stops, 8-bit sRGB: inferno from a third of the way up to its top.
constexpr unsigned char kStops[][3] = {
    {0x78, 0x1C, 0x6D}, {0xA5, 0x2C, 0x60}, {0xCF, 0x44, 0x46}, {0xED, 0x69, 0x25},
    {0xFB, 0x9A, 0x06}, {0xF7, 0xD0, 0x3C}, {0xFC, 0xFF, 0xA4},
};
constexpr size_t kStopCount = sizeof kStops / sizeof kStops[0];

}  // namespace

SDColourRamp::Colour SDColourRamp::at(double t) {
    if (!(t > 0.0)) {
        t = 0.0;
    } else if (t > 1.0) {
        t = 1.0;
    }
    const double scaled = t * static_cast<double>(kStopCount - 1);
    size_t low = static_cast<size_t>(scaled);
    if (low >= kStopCount - 1) {
        low = kStopCount - 2;
    }
    const double f = scaled - static_cast<double>(low);
    Colour colour{0.0f, 0.0f, 0.0f, 1.0f};
    for (size_t c = 0; c < 3; ++c) {
        const double a = kStops[low][c] / 255.0;
        const double b = kStops[low + 1][c] / 255.0;
        colour[c] = static_cast<float>(a + (b - a) * f);
    }
    return colour;
}

double SDColourRamp::position(double value, double minimum, double maximum) {
    if (!(maximum > minimum)) {
        return 0.5;
    }
    double offset = value - minimum;
    double span = maximum - minimum;
    // Ends far apart (-1e308 and 1e308) overflow the difference; halved, any two finite ends fit.
    if (std::isinf(span)) {
        offset = value / 2.0 - minimum / 2.0;
        span = maximum / 2.0 - minimum / 2.0;
    }
    const double position = offset / span;
    // Only a value that is not a number, or infinite ends, come this far without one.
    return std::isnan(position) ? 0.5 : position;
}

SDColourRamp::Colour SDColourRamp::forValue(double value, double minimum, double maximum) {
    return at(position(value, minimum, maximum));
}
