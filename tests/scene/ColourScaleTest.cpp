// Round range ends, the ticks of a colour bar, the colour maps and where values fall on a scale. Expected
// numbers worked out by hand from the rules the README gives.
#include <gtest/gtest.h>

#include <vector>

#include "scene/SDColourScale.h"
#include "scene/SDNiceNumbers.h"

namespace {

using Map = SDColourRamp::Map;

TEST(ColourScaleTest, RangeEndsRoundOutwardsToAStepOfATenthOfTheSpanWithinTheWholeRange) {
    struct Case {
        double low, high, minimum, maximum, expectLow, expectHigh;
    };
    const Case cases[] = {
        {20.325, 28.039, -43.4, 74.5, 20.0, 28.5},     // span 7.7: step 0.5
        {0.0, 0.44444, 0.0, 4.0, 0.0, 0.45},           // span 0.44: step 0.025
        {0.3, 0.7, 0.0, 1.0, 0.3, 0.7},                // already on steps of 0.025
        {1.2, 9.7, 1.1, 9.8, 1.1, 9.8},                // 1 and 10 lie past the whole range
        {-12.3, 47.1, -50.0, 50.0, -15.0, 50.0},       // span 59.4: step 5
        {1234567, 1987654, 0, 1e7, 1200000, 2000000},  // step 50000
        {4.0, 4.0, 0.0, 9.0, 4.0, 4.0},                // no span: unchanged
    };
    for (const Case& c : cases) {
        double low = c.low;
        double high = c.high;
        SDNiceNumbers::roundOutwards(low, high, c.minimum, c.maximum);
        EXPECT_EQ(c.expectLow, low) << c.low << " .. " << c.high;
        EXPECT_EQ(c.expectHigh, high) << c.low << " .. " << c.high;
    }
    double low = 0.0023;
    double high = 37.0;
    SDNiceNumbers::roundOutwardsLog(low, high, 0.001, 45.0);
    EXPECT_EQ(0.002, low);
    EXPECT_EQ(45.0, high) << "50 lies past the largest value";
}

TEST(ColourScaleTest, TicksAreFiveToSevenRoundNumbersWithinTheRange) {
    struct Case {
        bool log;
        double low, high;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {false, 20.0, 28.5, {20, 22, 24, 26, 28}},
        {false, 0.0, 0.45, {0, 0.1, 0.2, 0.3, 0.4}},
        {false, -15.0, 50.0, {-10, 0, 10, 20, 30, 40, 50}},
        {false, 0.0, 1.0, {0, 0.25, 0.5, 0.75, 1}},  // 5 and 6 ticks both fit: the fewer
        {false, 3.0, 3.0, {}},
        {true, 0.001, 1000.0, {0.001, 0.01, 0.1, 1, 10, 100, 1000}},
        {true, 1.0, 50.0, {1, 2, 5, 10, 20, 50}},
        {true, 2.0, 4.0, {2, 3, 4}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected,
                  c.log ? SDNiceNumbers::logTicks(c.low, c.high) : SDNiceNumbers::ticks(c.low, c.high))
            << c.low << " .. " << c.high;
    }
}

SDColourRamp::Colour rgb(int r, int g, int b) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, 1.0f};
}

TEST(ColourScaleTest, MapsEndsCoolwarmCentredOnZeroLogScaleAndValuesOutside) {
    // The maps' ends, and coolwarm's light grey middle.
    EXPECT_EQ(rgb(0x78, 0x1C, 0x6D), SDColourRamp::at(0.0, Map::Inferno));
    EXPECT_EQ(rgb(0x44, 0x01, 0x54), SDColourRamp::at(0.0, Map::Viridis));
    EXPECT_EQ(rgb(0xFD, 0xE7, 0x25), SDColourRamp::at(1.0, Map::Viridis));
    EXPECT_EQ(rgb(59, 76, 192), SDColourRamp::at(0.0, Map::Coolwarm));
    EXPECT_EQ(rgb(221, 221, 221), SDColourRamp::at(0.5, Map::Coolwarm));
    EXPECT_EQ(rgb(180, 4, 38), SDColourRamp::at(1.0, Map::Coolwarm));
    EXPECT_EQ(rgb(255, 255, 255), SDColourRamp::at(1.0, Map::Grey));

    struct Case {
        Map map;
        bool log;
        double minimum, maximum, value, position;
    };
    const Case cases[] = {
        {Map::Inferno, false, 0, 10, 2.5, 0.25},
        {Map::Inferno, false, 0, 10, -5, 0.0},  // below the range: the low end's colour
        {Map::Inferno, false, 0, 10, 99, 1.0},
        {Map::Inferno, false, 4, 4, 7, 0.5},          // a single value
        {Map::Coolwarm, false, -10, 40, 0, 0.5},      // 0 in the middle
        {Map::Coolwarm, false, -10, 40, 20, 0.75},    // the wider side spans its half
        {Map::Coolwarm, false, -10, 40, -10, 0.375},  // the narrower stops short of the end
        {Map::Coolwarm, false, -10, 40, -50, 0.375},  // below: as the low end
        {Map::Coolwarm, false, 5, 15, 5, 0.0},        // all above 0: not centred
        {Map::Inferno, true, 1, 100, 10, 0.5},
        {Map::Inferno, true, 1, 100, 1000, 1.0},
        {Map::Inferno, true, 1, 100, 0.5, 0.0},
        {Map::Inferno, true, 1, 100, 0, 0.0},  // 0 and below: the low colour
        {Map::Inferno, true, 1, 100, -3, 0.0},
        {Map::Inferno, true, 0, 0, 5, 0.0},  // no value above 0
    };
    for (const Case& c : cases) {
        SDColourScale scale;
        scale.map = c.map;
        scale.log = c.log;
        scale.hasRange = true;
        scale.minimum = c.minimum;
        scale.maximum = c.maximum;
        EXPECT_DOUBLE_EQ(c.position, scale.position(c.value))
            << c.minimum << " .. " << c.maximum << (c.log ? " log" : "") << ": " << c.value;
        EXPECT_EQ(SDColourRamp::at(c.position, c.map), scale.colour(c.value));
    }
}

}  // namespace
