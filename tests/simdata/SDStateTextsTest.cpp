// The store of state texts: each model's states found by time and by place, however the models' states
// interleave, whether or not they were looked up between additions, and when a model's times fall back.
#include <gtest/gtest.h>

#include <string>

#include "simdata/SDStateTexts.h"

namespace {

TEST(SDStateTextsTest, EachModelsStatesAreFoundByTimeAndPlaceAsTheyArrive) {
    // Additions (text given) and look-ups (the text expected at that time, "-" for none), in order.
    struct Step {
        const char* model;
        double time;
        const char* text;
        bool add;
    };
    const Step steps[] = {
        {"a", 0, "<0, 1>", true},
        {"b", 0, "<0, 1>", true},
        {"c(1,2)", 0, "idle", true},
        {"a", 0, "<0, 1>", false},
        {"b", -1, "-", false},
        // Added after the look-ups above.
        {"a", 100, "<1, 3>", true},
        {"b", 100, "<0, 1>", true},
        {"a", 200, "<1, 3>", true},
        {"c(1,2)", 50, "busy", true},
        {"c(1,2)", 20, "late", true},  // earlier than the state before it
        {"a", 150, "<1, 3>", false},
        {"a", 99, "<0, 1>", false},
        {"b", 1e9, "<0, 1>", false},
        {"c(1,2)", 10, "idle", false},
        {"c(1,2)", 30, "late", false},
        {"c(1,2)", 60, "busy", false},
        {"b", 300, "", true},  // an empty state
        {"b", 300, "", false},
        {"b", 299, "<0, 1>", false},
    };
    SDStateTexts states;
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.model) + " at " + std::to_string(step.time));
        if (step.add) {
            states.add(step.model, step.time, step.text);
            continue;
        }
        uint32_t number = 0;
        ASSERT_TRUE(states.find(step.model, number));
        SDStateTexts::State state{};
        const bool held = states.at(number, step.time, state);
        EXPECT_EQ(std::string(step.text), held ? std::string(state.text) : std::string("-"));
    }
    // By place: three states each of a, b and c, 9 in all; an event noted on a state that
    // is not its model's last stays with that state alone.
    uint32_t a = 0;
    uint32_t c = 0;
    ASSERT_TRUE(states.find("a", a));
    ASSERT_TRUE(states.find("c(1,2)", c));
    EXPECT_EQ(3u, states.count(a));
    EXPECT_EQ(3u, states.count(c));
    EXPECT_EQ(9u, states.size());
    states.setEvent({a, 1}, 7);
    EXPECT_EQ(100.0, states.state({a, 1}).time);
    EXPECT_EQ(7u, states.state({a, 1}).event);
    EXPECT_EQ(SDStateTexts::kNoEvent, states.state({a, 0}).event);
    EXPECT_EQ(SDStateTexts::kNoEvent, states.state({a, 2}).event);
    EXPECT_EQ("late", states.state({c, 2}).text);
    EXPECT_EQ(20.0, states.state({c, 2}).time);
}

}  // namespace
