#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "scene/SDDetailNodeCUBE.h"
#include "simdata/SDColoredCUBE.h"
#include "simdata/SDCondition.h"
#include "simdata/SDTransitionRuleCollection.h"
#include "tests/support/LogRecorder.h"

namespace {

using Op = SDComparisonCondition::Op;

SDTransitionRule rule(int type, const std::string& port, Op op, double threshold, int state) {
    return SDTransitionRule(type, port, std::make_unique<SDComparisonCondition>(op, threshold), state);
}

TEST(SDConditionTest, ComparisonsAndTheirTextForms) {
    struct Case {
        const char* op;
        bool below, at, above;
    } cases[] = {{">", false, false, true}, {">=", false, true, true},  {"<", true, false, false},
                 {"<=", true, true, false}, {"==", false, true, false}, {"!=", true, false, true}};
    for (const Case& c : cases) {
        auto condition = SDComparisonCondition::fromText(c.op, 5.0);
        ASSERT_NE(nullptr, condition) << c.op;
        EXPECT_EQ(c.below, condition->test(4.5)) << c.op;
        EXPECT_EQ(c.at, condition->test(5.0)) << c.op;
        EXPECT_EQ(c.above, condition->test(5.5)) << c.op;
        const bool nanPasses = std::string(c.op) == "!=";
        EXPECT_EQ(nanPasses, condition->test(std::numeric_limits<double>::quiet_NaN())) << c.op;
    }
    EXPECT_EQ(nullptr, SDComparisonCondition::fromText("=>", 1.0));
    EXPECT_EQ(nullptr, SDComparisonCondition::fromText("", 1.0));
}

TEST(SDTransitionRuleTest, CopiesOwnTheirOwnCondition) {
    SDTransitionRule original = rule(1, "out", Op::Greater, 0, 3);
    SDTransitionRule copy(original);
    ASSERT_NE(nullptr, copy.getCondition());
    EXPECT_NE(original.getCondition(), copy.getCondition());
    EXPECT_TRUE(copy.appliesTo(1, "out", 1.0));
    SDTransitionRule assigned;
    EXPECT_FALSE(assigned.appliesTo(0, "", 0.0));  // no condition: never applies
    assigned = original;
    EXPECT_NE(original.getCondition(), assigned.getCondition());
    EXPECT_EQ(3, assigned.getStateIndex());
    original = SDTransitionRule();
    EXPECT_TRUE(assigned.appliesTo(1, "out", 1.0));
}

TEST(SDTransitionRuleCollectionTest, FirstApplicableRuleWinsAndFurtherMatchesWarn) {
    LogRecorder rec;
    SDTransitionRuleCollection rules;
    EXPECT_EQ(-1, rules.evaluate(1, "out", 7));
    rules.addRule(rule(1, "out", Op::Greater, 0, 10));
    rules.addRule(rule(1, "out", Op::Greater, 5, 20));
    rules.addRule(SDTransitionRule(1, "out", nullptr, 30));

    EXPECT_EQ(10, rules.evaluate(1, "out", 7));
    EXPECT_EQ(
        (std::vector<std::string>{"Warning: Multiple transition rules apply for: port: out, value: 7.000",
                                  "Using first rule triggered"}),
        rec.lines());
    rec.clear();
    EXPECT_EQ(10, rules.evaluate(1, "out", 3));
    EXPECT_EQ(-1, rules.evaluate(1, "out", -1));
    EXPECT_EQ(-1, rules.evaluate(1, "Out", 7));
    EXPECT_EQ(-1, rules.evaluate(0, "out", 7));
    EXPECT_TRUE(rec.lines().empty());

    rules.addRule(rule(1, "out", Op::LessEqual, 100, 40));
    EXPECT_EQ(10, rules.evaluate(1, "out", 7));
    EXPECT_EQ(2u, rec.count("Using first rule triggered"));

    // A first match whose state is -1 cannot be told from no match: the next match is taken silently.
    SDTransitionRuleCollection odd;
    odd.addRule(rule(0, "in", Op::Equal, 1, -1));
    odd.addRule(rule(0, "in", Op::Equal, 1, 4));
    rec.clear();
    EXPECT_EQ(4, odd.evaluate(0, "in", 1));
    EXPECT_TRUE(rec.lines().empty());

    // firstApplicable gives evaluate's answer and never warns.
    for (double value : {7.0, 3.0, -1.0, 100.0, 101.0}) {
        EXPECT_EQ(rules.evaluate(1, "out", value), rules.firstApplicable(1, "out", value)) << value;
    }
    EXPECT_EQ(-1, rules.firstApplicable(1, "Out", 7));
    EXPECT_EQ(4, odd.firstApplicable(0, "in", 1));
    rec.clear();
    rules.firstApplicable(1, "out", 7);
    EXPECT_TRUE(rec.lines().empty());
}

TEST(SDTransitionRuleCollectionTest, RemoveRuleByPosition) {
    SDTransitionRuleCollection rules;
    EXPECT_FALSE(rules.removeRule(0));
    rules.addRule(rule(1, "a", Op::Greater, 0, 1));
    rules.addRule(rule(1, "b", Op::Greater, 0, 2));
    EXPECT_FALSE(rules.removeRule(2));
    EXPECT_TRUE(rules.removeRule(1));
    ASSERT_EQ(1u, rules.getNumRules());
    EXPECT_EQ("a", rules.getRule(0)->getPort());
    EXPECT_EQ(nullptr, rules.getRule(1));
    // Copying a collection copies its rules and their conditions.
    SDTransitionRuleCollection copy(rules);
    EXPECT_TRUE(rules.removeRule(0));
    EXPECT_EQ(1, copy.evaluate(1, "a", 1));
}

TEST(SDColoredCUBETest, ApplyPaintsTheTargetAndRemoveKeepsTheColour) {
    SDDetailNodeCUBE cube;
    const auto defaults = cube.getColor();
    SDColoredCUBE uncoloured(&cube);
    uncoloured.apply();
    EXPECT_EQ(defaults, cube.getColor());

    SDColoredCUBE red(&cube, {1, 0, 0, 0.5f});
    red.apply();
    EXPECT_EQ((std::array<float, 4>{1, 0, 0, 0.5f}), cube.getColor());
    red.remove();
    EXPECT_EQ((std::array<float, 4>{1, 0, 0, 0.5f}), cube.getColor());
    uncoloured.setColor(0, 0, 1, 1);
    uncoloured.apply();
    EXPECT_EQ((std::array<float, 4>{0, 0, 1, 1}), cube.getColor());

    SDColoredCUBE nowhere(nullptr, {1, 1, 1, 1});
    nowhere.apply();  // no target: nothing to paint
    { SDColoredCUBE shortLived(&cube, {0, 1, 0, 1}); }
    EXPECT_EQ((std::array<float, 4>{0, 0, 1, 1}), cube.getColor());  // the state never owned the cube
}

}  // namespace
