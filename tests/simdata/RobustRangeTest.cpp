// The default colour range: the k-th smallest to the k-th largest value of the run (k = the count / 100
// rounded up), ends rounded outwards. Expected ranges counted by hand from the lists.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "simdata/SDCellValues.h"

namespace {

std::vector<double> repeated(double value, size_t count) {
    return std::vector<double>(count, value);
}

std::vector<double> joined(std::initializer_list<std::vector<double>> parts) {
    std::vector<double> all;
    for (const std::vector<double>& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST(RobustRangeTest, TheMiddleOfTheRunWithRoundEndsOrTheWholeRange) {
    std::vector<double> hundred;
    for (int i = 1; i <= 100; ++i) {
        hundred.push_back(i);
    }
    std::vector<double> heat = {-43.0, 74.0};
    for (int i = 0; i < 198; ++i) {
        heat.push_back(20.0 + i * 0.05);
    }
    struct Case {
        std::string what;
        std::vector<double> values;
        double low, high;
    };
    const std::vector<Case> cases = {
        // k = 1: the whole range; step 5 would take the low end to 0, below the smallest.
        {"1 to 100", hundred, 1.0, 100.0},
        // 200 values, k = 2: 20 and 29.85, span 9.85, step 0.5.
        {"two outliers", heat, 20.0, 30.0},
        // 1000 values, k = 10: 0 and 0.44444 (the five 4s are the largest), step 0.025.
        {"a few sources", joined({repeated(0.0, 900), repeated(4.0, 5), repeated(0.44444, 95)}), 0.0, 0.45},
        // 202 values, k = 3: 5 and 5, no span: the whole range.
        {"one value in the middle", joined({repeated(5.0, 200), {1.0, 9.0}}), 1.0, 9.0},
        // Not finite values are left out: 3 values, k = 1.
        {"not finite", {2.0, NAN, 7.0, INFINITY, 3.0}, 2.0, 7.0},
    };
    for (const Case& c : cases) {
        SDCellValues values;
        for (double value : c.values) {
            values.widenRange(value);
        }
        double low = -1.0;
        double high = -1.0;
        ASSERT_TRUE(values.robustRange(low, high)) << c.what;
        EXPECT_EQ(c.low, low) << c.what;
        EXPECT_EQ(c.high, high) << c.what;
        // Asked again after more values: worked out again.
        values.widenRange(1000.0);
        values.robustRange(low, high);
        EXPECT_LE(c.high, high) << c.what;
    }
    SDCellValues empty;
    double low = 0.0;
    double high = 0.0;
    EXPECT_FALSE(empty.robustRange(low, high));
    EXPECT_FALSE(empty.positiveRange(low, high, false));
    // For a log scale: the values above 0 only.
    SDCellValues mixed;
    for (double value : {-1.0, 0.0, 0.002, 0.5, 30.0}) {
        mixed.widenRange(value);
    }
    ASSERT_TRUE(mixed.positiveRange(low, high, false));
    EXPECT_EQ(0.002, low);
    EXPECT_EQ(30.0, high);
    mixed.resetRange();
    EXPECT_FALSE(mixed.robustRange(low, high)) << "forgotten with the range";
}

}  // namespace
