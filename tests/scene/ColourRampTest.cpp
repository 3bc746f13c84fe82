// The default colours of values: a ramp whose ends are easy to tell apart and which never comes near the
// green of cells without a value.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scene/SDColourRamp.h"

namespace {

double distance(const SDColourRamp::Colour& a, const SDColourRamp::Colour& b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                     (a[2] - b[2]) * (a[2] - b[2]));
}

double luma(const SDColourRamp::Colour& c) {
    return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2];
}

const SDColourRamp::Colour kNoValueGreen{0.0f, 0.8f, 0.4f, 1.0f};

TEST(ColourRampTest, EndsDifferAndNoColourComesNearTheNoValueGreen) {
    const SDColourRamp::Colour low = SDColourRamp::at(0.0);
    const SDColourRamp::Colour high = SDColourRamp::at(1.0);
    EXPECT_GT(distance(low, high), 0.8);
    EXPECT_GT(luma(high) - luma(low), 0.6) << "the top must be much lighter than the bottom";
    EXPECT_GT(luma(low), 0.1) << "the bottom must still show on black";
    double previous = -1.0;
    for (int i = 0; i <= 1000; ++i) {
        const SDColourRamp::Colour c = SDColourRamp::at(i / 1000.0);
        EXPECT_GT(distance(c, kNoValueGreen), 0.5) << i;
        EXPECT_GT(luma(c), previous) << "lightness rises evenly at " << i;
        EXPECT_EQ(1.0f, c[3]);
        previous = luma(c);
    }
}

TEST(ColourRampTest, ValuesMapOverTheirRangeAndOutsideItToTheEnds) {
    EXPECT_EQ(SDColourRamp::at(0.0), SDColourRamp::forValue(-4.0, -4.0, 12.0));
    EXPECT_EQ(SDColourRamp::at(1.0), SDColourRamp::forValue(12.0, -4.0, 12.0));
    EXPECT_EQ(SDColourRamp::at(0.25), SDColourRamp::forValue(0.0, -4.0, 12.0));
    EXPECT_EQ(SDColourRamp::at(1.0), SDColourRamp::forValue(100.0, -4.0, 12.0));
    EXPECT_EQ(SDColourRamp::at(0.0), SDColourRamp::forValue(-100.0, -4.0, 12.0));
    // One value in the whole log: one colour for every cell.
    EXPECT_EQ(SDColourRamp::at(0.5), SDColourRamp::forValue(3.0, 3.0, 3.0));
    EXPECT_EQ(SDColourRamp::at(0.5), SDColourRamp::forValue(-7.0, 3.0, 3.0));
    EXPECT_EQ(SDColourRamp::at(0.0), SDColourRamp::at(std::numeric_limits<double>::quiet_NaN()));
}

TEST(ColourRampTest, PositionsStayNumbersForEndsAsFarApartAsDoublesGo) {
    const double big = std::numeric_limits<double>::max();
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value, minimum, maximum, position;
    } cases[] = {
        {-1e308, -1e308, 1e308, 0.0}, {0.0, -1e308, 1e308, 0.5},   {5e307, -1e308, 1e308, 0.75},
        {1e308, -1e308, 1e308, 1.0},  {-big, -big, big, 0.0},      {0.0, -big, big, 0.5},
        {big, -big, big, 1.0},        {0.0, -5e-324, 5e-324, 0.5}, {nan, 0.0, 1.0, 0.5},
        {0.0, -inf, inf, 0.5},        {inf, -inf, inf, 0.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " in " << c.minimum << " .. " << c.maximum);
        EXPECT_DOUBLE_EQ(c.position, SDColourRamp::position(c.value, c.minimum, c.maximum));
    }
    // Beyond the ends, infinitely far: the ends' colours.
    EXPECT_EQ(SDColourRamp::at(1.0), SDColourRamp::forValue(inf, -1e308, 1e308));
    EXPECT_EQ(SDColourRamp::at(0.0), SDColourRamp::forValue(-inf, -1e308, 1e308));
}

}  // namespace
