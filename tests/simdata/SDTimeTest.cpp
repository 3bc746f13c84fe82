#include "simdata/SDTime.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

namespace {

struct Components {
    int h, m, s, ms;
    bool operator==(const Components& o) const { return h == o.h && m == o.m && s == o.s && ms == o.ms; }
};

Components components(double milliseconds) {
    Components c{-7, -7, -7, -7};
    SDTime(milliseconds).getComponents(c.h, c.m, c.s, c.ms);
    return c;
}

std::string shown(const std::string& logForm) {
    SDTime t;
    t.parse(logForm);
    return t.toString();
}

double parsed(const std::string& logForm) {
    SDTime t(12345.0);
    t.parse(logForm);
    return t.getMilliseconds();
}

TEST(SDTimeTest, ParsesTheLogFormAndNormalisesOnlyOnOutput) {
    EXPECT_EQ(62003.0, parsed("00:01:02:003"));
    EXPECT_EQ(3723004.0, parsed("1:2:3:4"));
    EXPECT_EQ(5400000.0, parsed("00:90:00:000"));
    EXPECT_EQ("01:30:00:000", shown("00:90:00:000"));
    EXPECT_EQ("01:02:03:004", shown("1:2:3:4"));
    EXPECT_EQ("00:00:00:000", SDTime().toString());
    EXPECT_EQ("100:00:00:000", SDTime(360000000.0).toString());
    // Blanks before a number are skipped and signs are read, as the scan of "%d" does.
    EXPECT_EQ(3600000.0 - 1000.0, parsed(" 1: 0:-1:0"));
}

TEST(SDTimeTest, MissingOrMalformedComponentsCountAsZero) {
    EXPECT_EQ(12 * 3600000.0 + 30 * 60000.0, parsed("12:30"));
    EXPECT_EQ(0.0, parsed(""));
    EXPECT_EQ(0.0, parsed("abc"));
    // The scan stops at the first text that does not fit the form.
    EXPECT_EQ(7 * 3600000.0, parsed("7 :1:2:3"));
    EXPECT_EQ(7 * 3600000.0 + 60000.0, parsed("7:1:x:3"));
}

TEST(SDTimeTest, LargeComponentsSumWithoutOverflow) {
    SDTime t;
    t.setTime(INT_MAX, INT_MAX, INT_MAX, INT_MAX);
    const double expected = 2147483647.0 * (3600000.0 + 60000.0 + 1000.0 + 1.0);
    EXPECT_EQ(expected, t.getMilliseconds());
    t.setTime(INT_MIN, 0, 0, 0);
    EXPECT_EQ(-2147483648.0 * 3600000.0, t.getMilliseconds());
    // The largest sum a 32-bit form could hold and one past it.
    t.setTime(0, 0, 0, INT_MAX);
    EXPECT_EQ(2147483647.0, t.getMilliseconds());
    t.setTime(596, 31, 23, 648);
    EXPECT_EQ(2147483648.0, t.getMilliseconds());
    // Numbers too large for an int saturate rather than wrap.
    EXPECT_EQ(2147483647.0 * 3600000.0, parsed("99999999999:0:0:0"));
}

TEST(SDTimeTest, ComponentsTakeHoursWithFloorAndDropFractions) {
    EXPECT_EQ((Components{0, 59, 59, 999}), components(3599999.5));
    EXPECT_EQ("00:59:59:999", SDTime(3599999.5).toString());
    EXPECT_EQ((Components{-1, 59, 59, 0}), components(-1000.0));
    EXPECT_EQ("-1:59:59:000", SDTime(-1000.0).toString());
    EXPECT_EQ((Components{-1, 59, 59, 999}), components(-0.25));
    EXPECT_EQ((Components{1000, 0, 0, 1}), components(3600000001.0));
    EXPECT_EQ("1000:00:00:001", SDTime(3600000001.0).toString());
}

TEST(SDTimeTest, OutOfRangeAndNaNTimesGiveSaneComponents) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ((Components{0, 0, 0, 0}), components(nan));
    EXPECT_EQ("00:00:00:000", SDTime(nan).toString());
    EXPECT_EQ((Components{INT_MAX, 59, 59, 999}), components(inf));
    EXPECT_EQ((Components{INT_MAX, 59, 59, 999}), components(1e300));
    EXPECT_EQ((Components{INT_MIN, 0, 0, 0}), components(-inf));
    EXPECT_EQ("-2147483648:00:00:000", SDTime(-1e300).toString());
    // The largest representable hour itself still splits normally.
    EXPECT_EQ((Components{INT_MAX, 0, 0, 5}), components(2147483647.0 * 3600000.0 + 5.0));
}

TEST(SDTimeTest, OrderComparesTheMillisecondCount) {
    SDTime a, b;
    a.parse("00:00:01:000");
    b.parse("0:0:0:1000");
    EXPECT_FALSE(a < b);
    EXPECT_FALSE(b < a);
    EXPECT_TRUE(SDTime(999.5) < a);
    EXPECT_FALSE(a < SDTime(999.5));
    // Copies are independent values.
    SDTime c = a;
    c.setMilliseconds(5.0);
    EXPECT_EQ(1000.0, a.getMilliseconds());
}

}  // namespace
