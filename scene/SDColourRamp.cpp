#include "scene/SDColourRamp.h"

#include <cmath>
#include <cstddef>

namespace {

using Stop = unsigned char[3];

// Evenly spaced stops, 8-bit sRGB. Inferno from a third of the way up to its top.
constexpr Stop kInferno[] = {
    {0x78, 0x1C, 0x6D}, {0xA5, 0x2C, 0x60}, {0xCF, 0x44, 0x46}, {0xED, 0x69, 0x25},
    {0xFB, 0x9A, 0x06}, {0xF7, 0xD0, 0x3C}, {0xFC, 0xFF, 0xA4},
};
// Viridis, the whole of it.
constexpr Stop kViridis[] = {
    {0x44, 0x01, 0x54}, {0x47, 0x2C, 0x7A}, {0x3B, 0x51, 0x8B}, {0x2C, 0x71, 0x8E}, {0x21, 0x90, 0x8D},
    {0x27, 0xAD, 0x81}, {0x5C, 0xC8, 0x63}, {0xAA, 0xDC, 0x32}, {0xFD, 0xE7, 0x25},
};
// Moreland's smooth cool-warm diverging map: its middle, a light grey, is the fifth stop.
constexpr Stop kCoolwarm[] = {
    {59, 76, 192},   {98, 130, 234},  {141, 176, 254}, {184, 208, 249}, {221, 221, 221},
    {245, 196, 173}, {244, 154, 123}, {222, 96, 77},   {180, 4, 38},
};
// Grey from a dark grey, not black, so that the low end still shows on the black background.
constexpr Stop kGrey[] = {{0x30, 0x30, 0x30}, {0xFF, 0xFF, 0xFF}};

struct Stops {
    const Stop* stops;
    size_t count;
};

template <size_t N>
constexpr Stops stopsOf(const Stop (&stops)[N]) {
    return Stops{stops, N};
}

Stops stopsOf(SDColourRamp::Map map) {
    switch (map) {
        case SDColourRamp::Map::Viridis:
            return stopsOf(kViridis);
        case SDColourRamp::Map::Coolwarm:
            return stopsOf(kCoolwarm);
        case SDColourRamp::Map::Grey:
            return stopsOf(kGrey);
        default:
            return stopsOf(kInferno);
    }
}

constexpr const char* kNames[] = {"inferno", "viridis", "coolwarm", "grey"};

}  // namespace

bool SDColourRamp::fromName(const std::string& name, Map& map) {
    for (size_t i = 0; i < 4; ++i) {
        if (name == kNames[i]) {
            map = static_cast<Map>(i);
            return true;
        }
    }
    return false;
}

const char* SDColourRamp::name(Map map) {
    return kNames[static_cast<size_t>(map)];
}

SDColourRamp::Colour SDColourRamp::at(double t, Map map) {
    const Stops table = stopsOf(map);
    const Stop* stops = table.stops;
    const size_t count = table.count;
    if (!(t > 0.0)) {
        t = 0.0;
    } else if (t > 1.0) {
        t = 1.0;
    }
    const double scaled = t * static_cast<double>(count - 1);
    size_t low = static_cast<size_t>(scaled);
    if (low >= count - 1) {
        low = count - 2;
    }
    const double f = scaled - static_cast<double>(low);
    Colour colour{0.0f, 0.0f, 0.0f, 1.0f};
    for (size_t c = 0; c < 3; ++c) {
        const double a = stops[low][c] / 255.0;
        const double b = stops[low + 1][c] / 255.0;
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
