// The numbers a free-text state or message holds, and colour codes taken out of captured logs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "loader/SLDataText.h"

namespace {

TEST(SLDataTextTest, TheNumbersOfAStateTextAreFoundInOrderAndNamesAreNotNumbers) {
    const struct {
        const char* text;
        int index;
        bool found;
        double value;
    } cases[] = {
        {"", 0, false, 0},
        {"x1 cell_3 v2.5 = -7", 0, true, -7},  // digits inside names are names
        {"t=1.5e-3;", 0, true, 0.0015},
        {"2e and 3", 0, true, 2},  // an exponent needs its digits
        {"2e and 3", 1, true, 3},
        {"inf nan 8", 0, true, 8},
        {"(-2,+3)", 1, true, 3},
        {".25 of it", 0, true, 0.25},
        {"- . -x", 0, false, 0},
        {"192168116224", 0, true, 192168116224.0},
        // Read as strtod reads them: beyond a double's range, infinite or 0; a sign or a point alone at
        // either end.
        {"huge 1e999", 0, true, HUGE_VAL},
        {"-1e999", 0, true, -HUGE_VAL},
        {"tiny 1e-999", 0, true, 0},
        {"+.5;", 0, true, 0.5},
        {"7. then", 0, true, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " #" + std::to_string(c.index));
        double value = -999;
        EXPECT_EQ(c.found, SLDataText::number(c.text, c.index, value));
        if (c.found) {
            EXPECT_DOUBLE_EQ(c.value, value);
        }
    }
}

TEST(SLDataTextTest, ColourCodesAreTakenOutAndNothingElse) {
    const struct {
        std::string text;
        bool removed;
        const char* left;
    } cases[] = {
        {"\x1b[32m0.5\x1b[0m", true, "0.5"},
        {"\x1b[1;31mred\x1b[m and plain", true, "red and plain"},
        {"no codes [32m here", false, "no codes [32m here"},
        {"cut at the end \x1b[3", true, "cut at the end "},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(c.removed, SLDataText::stripColours(text)) << c.left;
        EXPECT_EQ(c.left, text);
    }
}

}  // namespace
