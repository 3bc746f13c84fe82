// The store of state texts gives back every state as it was added, whichever earlier state it may share
// its text with: texts of equal length that agree in their first bytes and differ later, repeats of a
// model's own last state and of the state added just before.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simdata/SDStateTexts.h"

namespace {

TEST(SDStateTextsTest, EveryStateReadsBackAsAdded) {
    struct Added {
        const char* model;
        double time;
        const char* text;
    };
    const std::vector<std::vector<Added>> cases = {
        // Short texts of one length, then a repeat of the cell's own last one.
        {{"c(0,0)", 0, "<0, 3>"}, {"c(0,0)", 100, "<0, 4>"}, {"c(0,0)", 200, "<0, 4>"}},
        // Longer than the bytes compared first: equal heads, different tails.
        {{"heat", 0, "temperature=21.5 K"}, {"heat", 100, "temperature=22.5 K"}},
        {{"q", 0, "abcdefgh"}, {"q", 100, "abcdefgi"}, {"q", 200, "abcdefgh"}},
        {{"q", 0, "abcdefghX"}, {"q", 100, "abcdefghY"}},
        // Another model's state just before, equal in head only, then equal.
        {{"a", 0, "level: 10, busy"}, {"b", 0, "level: 10, idle"}, {"a", 100, "level: 10, idle"}},
        // Empty texts, and a text that was empty before.
        {{"e", 0, ""}, {"e", 100, ""}, {"e", 200, "x"}, {"f", 0, ""}},
    };
    for (size_t c = 0; c < cases.size(); ++c) {
        SDStateTexts texts;
        std::vector<SDStateTexts::Ref> refs;
        for (const Added& added : cases[c]) {
            refs.push_back(texts.add(added.model, added.time, added.text));
        }
        ASSERT_EQ(cases[c].size(), texts.size());
        for (size_t i = 0; i < refs.size(); ++i) {
            const SDStateTexts::State state = texts.state(refs[i]);
            EXPECT_EQ(cases[c][i].text, std::string(state.text)) << "case " << c << ", state " << i;
            EXPECT_EQ(cases[c][i].time, state.time) << "case " << c << ", state " << i;
            uint32_t model = 0;
            ASSERT_TRUE(texts.find(cases[c][i].model, model));
            SDStateTexts::State held;
            ASSERT_TRUE(texts.at(model, cases[c][i].time, held));
            EXPECT_EQ(cases[c][i].text, std::string(held.text)) << "case " << c << ", state " << i;
        }
    }
}

}  // namespace
