#include "simdata/SDBlockLook.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// Rules of several ports, each against its own port's value; the first that holds wins.
TEST(SDBlockLookTest, TheFirstRuleThatHoldsForItsOwnPortWins) {
    SDBlockLook look;
    std::map<std::string, double> values{{"out", 1.0}, {"in", 7.0}};
    auto valueOf = [&](int type, const std::string& port, double& value) {
        auto found = values.find(port);
        if (found == values.end() || (type == SDBlockLook::kInputType) != (port == "in")) {
            return false;
        }
        value = found->second;
        return true;
    };
    const SDBlockLook::Colour red{1, 0, 0, 1};
    const SDBlockLook::Colour blue{0, 0, 1, 1};
    const SDBlockLook::Colour hidden{0, 0, 0, 0};
    EXPECT_EQ(-1, look.addRule(SDBlockLook::kOutputType, "out", 2, 3, red));
    EXPECT_EQ(-1, look.addRule(SDBlockLook::kInputType, "in", 5, 9, blue));
    EXPECT_EQ(0, look.addRule(SDBlockLook::kOutputType, "out", 0, 2.5, hidden)) << "overlaps rule 1";

    struct Case {
        double out;
        double in;
        bool holds;
        SDBlockLook::Colour colour;
    };
    const Case cases[] = {
        {2.0, 7.0, true, red},     // both hold: the first added
        {1.0, 7.0, true, blue},    // out's rule fails, in's holds
        {1.0, 4.0, true, hidden},  // only the third
        {4.0, 4.0, false, red},    // none
    };
    for (const Case& c : cases) {
        values["out"] = c.out;
        values["in"] = c.in;
        SDBlockLook::Colour colour{};
        EXPECT_EQ(c.holds, look.ruleColour(valueOf, colour)) << c.out << " " << c.in;
        if (c.holds) {
            EXPECT_EQ(c.colour, colour) << c.out << " " << c.in;
        }
    }

    // Clearing one port keeps the others' rules in order, with their colours.
    look.setRamp(SDBlockLook::kOutputType, "out");
    const unsigned long before = look.getVersion();
    EXPECT_EQ(2u, look.clearPort(SDBlockLook::kOutputType, "out"));
    EXPECT_NE(before, look.getVersion());
    EXPECT_FALSE(look.hasRamp()) << "the ramp was on the port cleared";
    values["in"] = 6.0;
    SDBlockLook::Colour colour{};
    ASSERT_TRUE(look.ruleColour(valueOf, colour));
    EXPECT_EQ(blue, colour);
    EXPECT_EQ(1u, look.clear());
    EXPECT_TRUE(look.empty());
}

}  // namespace
