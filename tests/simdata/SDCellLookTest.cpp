// Colour rules of a Cell-DEVS model: transition rules on the output port "out" with a range condition, each
// selecting one coloured-cube state; the first rule that holds wins, and a pass over many values stays quiet.
#include <gtest/gtest.h>

#include <limits>

#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDCellLook.h"
#include "simdata/SDCondition.h"
#include "tests/support/LogRecorder.h"

namespace {

const SDCellLook::Colour kRed{1, 0, 0, 1};
const SDCellLook::Colour kBlue{0, 0, 1, 0.5f};
const SDCellLook::Colour kHidden{0, 0, 0, 0};

TEST(SDRangeConditionTest, BothEndsBelongToTheRangeAndNaNToNone) {
    SDRangeCondition range(0.25, 0.75);
    EXPECT_TRUE(range.test(0.25));
    EXPECT_TRUE(range.test(0.5));
    EXPECT_TRUE(range.test(0.75));
    EXPECT_FALSE(range.test(0.2499999));
    EXPECT_FALSE(range.test(0.75000001));
    EXPECT_FALSE(range.test(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE(SDRangeCondition(3, 3).test(3));
    EXPECT_TRUE(range.clone()->test(0.5));
}

TEST(SDCellLookTest, RulesAreOutputRangesOnPortOutAndTheFirstThatHoldsWins) {
    SDCELLDevsModel model;
    SDCellLook& look = model.getLook();
    EXPECT_EQ(-1, look.addRule(model.getRules(), 0.0, 1.0, kRed));
    EXPECT_EQ(0, look.addRule(model.getRules(), 0.5, 2.0, kBlue)) << "overlaps rule 0";
    EXPECT_EQ(-1, look.addRule(model.getRules(), 5.0, 6.0, kHidden));

    // The model's own transition rules hold them, as the collection evaluates them.
    ASSERT_EQ(3u, model.getRules().getNumRules());
    const SDTransitionRule* second = model.getRules().getRule(1);
    EXPECT_EQ(1, second->getType());
    EXPECT_EQ("out", second->getPort());
    EXPECT_EQ(1, second->getStateIndex());
    EXPECT_EQ(0, model.getRules().evaluate(1, "out", 0.7));
    EXPECT_EQ(-1, model.getRules().evaluate(0, "out", 0.7)) << "inputs are not coloured";

    SDCellLook::Colour colour{};
    ASSERT_TRUE(look.ruleColour(model.getRules(), 0.7, colour));
    EXPECT_EQ(kRed, colour) << "in both ranges: the first rule's colour";
    ASSERT_TRUE(look.ruleColour(model.getRules(), 1.5, colour));
    EXPECT_EQ(kBlue, colour);
    ASSERT_TRUE(look.ruleColour(model.getRules(), 6.0, colour));
    EXPECT_EQ(kHidden, colour);
    EXPECT_FALSE(look.ruleColour(model.getRules(), 3.0, colour));
    EXPECT_FALSE(look.ruleColour(model.getRules(), std::numeric_limits<double>::quiet_NaN(), colour));

    EXPECT_EQ(3u, look.clearRules(model.getRules()));
    EXPECT_EQ(0u, model.getRules().getNumRules());
    EXPECT_FALSE(look.ruleColour(model.getRules(), 0.7, colour));
}

TEST(SDCellLookTest, AMillionValuesInOverlappingRulesLogNothing) {
    SDCELLDevsModel model;
    SDCellLook& look = model.getLook();
    look.addRule(model.getRules(), 0.0, 10.0, kRed);
    look.addRule(model.getRules(), 0.0, 10.0, kBlue);
    LogRecorder rec;
    SDCellLook::Colour colour{};
    for (int i = 0; i < 1000000; ++i) {
        look.ruleColour(model.getRules(), 5.0, colour);
    }
    EXPECT_EQ(kRed, colour);
    EXPECT_TRUE(rec.lines().empty()) << rec.text();
    // evaluate() itself still warns, as it always has.
    model.getRules().evaluate(1, "out", 5.0);
    EXPECT_TRUE(rec.contains("Using first rule triggered"));
}

}  // namespace
