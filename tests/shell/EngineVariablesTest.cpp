#include "shell/EngineVariables.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

struct Watcher {
    std::vector<std::pair<std::string, std::string>> calls;
    void changed(std::string name, std::string value) {
        calls.emplace_back(std::move(name), std::move(value));
    }
};

TEST(EngineVariablesTest, TypedValuesAreStoredAsFixedTextForms) {
    EngineVariables vars;
    std::string text;

    vars.setFloat("f", 1.0f);
    ASSERT_TRUE(vars.getString("f", text));
    EXPECT_EQ("1.0000", text);
    vars.setFloat("f", 0.5f);
    vars.getString("f", text);
    EXPECT_EQ("0.5000", text);

    vars.setInt("i", -42);
    vars.getString("i", text);
    EXPECT_EQ("-42", text);

    vars.setBool("b", true);
    vars.getString("b", text);
    EXPECT_EQ("true", text);
    vars.setBool("b", false);
    vars.getString("b", text);
    EXPECT_EQ("false", text);
}

TEST(EngineVariablesTest, NumbersReadBackThroughTheirScans) {
    EngineVariables vars;
    vars.setFloat("f", 1.0f);
    int asInt = 0;
    ASSERT_TRUE(vars.getInt("f", asInt));
    EXPECT_EQ(1, asInt);  // the integer scan stops at the point

    float asFloat = 0;
    vars.setString("f", "2.25xyz");
    ASSERT_TRUE(vars.getFloat("f", asFloat));
    EXPECT_FLOAT_EQ(2.25f, asFloat);

    // Text that is not a number: the getter still answers true and leaves the number alone.
    vars.setString("n", "none");
    asInt = 7;
    asFloat = 7.5f;
    EXPECT_TRUE(vars.getInt("n", asInt));
    EXPECT_TRUE(vars.getFloat("n", asFloat));
    EXPECT_EQ(7, asInt);
    EXPECT_FLOAT_EQ(7.5f, asFloat);

    // Out of range integers saturate instead of wrapping.
    vars.setString("big", "99999999999");
    ASSERT_TRUE(vars.getInt("big", asInt));
    EXPECT_EQ(2147483647, asInt);
}

TEST(EngineVariablesTest, BoolIsTrueOnlyForTheExactWord) {
    EngineVariables vars;
    bool value = true;
    vars.setBool("b", false);
    ASSERT_TRUE(vars.getBool("b", value));
    EXPECT_FALSE(value);

    for (const char* text : {"True", "TRUE", "1", "yes", " true", ""}) {
        vars.setString("b", text);
        value = true;
        ASSERT_TRUE(vars.getBool("b", value));
        EXPECT_FALSE(value) << text;
    }
    vars.setString("b", "true");
    vars.getBool("b", value);
    EXPECT_TRUE(value);
}

TEST(EngineVariablesTest, AbsentVariablesLeaveTheOutParameterUntouched) {
    EngineVariables vars;
    std::string text = "keep";
    float f = 3.0f;
    int i = 3;
    bool b = true;
    EXPECT_FALSE(vars.getString("x", text));
    EXPECT_FALSE(vars.getFloat("x", f));
    EXPECT_FALSE(vars.getInt("x", i));
    EXPECT_FALSE(vars.getBool("x", b));
    EXPECT_EQ("keep", text);
    EXPECT_EQ(3.0f, f);
    EXPECT_EQ(3, i);
    EXPECT_TRUE(b);

    vars.setString("x", "v");
    vars.removeVariable("x");
    EXPECT_FALSE(vars.getString("x", text));
}

TEST(EngineVariablesTest, NamesAreCaseSensitive) {
    EngineVariables vars;
    vars.setString("Theme", "a");
    std::string text;
    EXPECT_FALSE(vars.getString("theme", text));
}

TEST(EngineVariablesTest, WatchersSeeEveryChangeInOrderIncludingRepeatsAndRemovals) {
    EngineVariables vars;
    Watcher first;
    Watcher second;
    vars.addWatcher("theme", &first, &Watcher::changed);
    vars.addWatcher("theme", &second, &Watcher::changed);
    vars.addWatcher("theme", &first, &Watcher::changed);  // registered twice: called twice

    vars.setString("theme", "dark");
    vars.setString("theme", "dark");
    vars.setString("other", "x");
    vars.removeVariable("theme");
    vars.removeVariable("theme");  // absent: watchers are still told

    using Call = std::pair<std::string, std::string>;
    std::vector<Call> expectedFirst = {{"theme", "dark"}, {"theme", "dark"}, {"theme", "dark"},
                                       {"theme", "dark"}, {"theme", ""},     {"theme", ""},
                                       {"theme", ""},     {"theme", ""}};
    EXPECT_EQ(expectedFirst, first.calls);
    std::vector<Call> expectedSecond = {{"theme", "dark"}, {"theme", "dark"}, {"theme", ""}, {"theme", ""}};
    EXPECT_EQ(expectedSecond, second.calls);
}

TEST(EngineVariablesTest, WatcherSeesTheNewValueAlreadyStored) {
    struct Reader {
        EngineVariables* vars;
        std::string seen;
        bool present = true;
        void changed(std::string name, std::string) { present = vars->getString(name, seen); }
    };
    EngineVariables vars;
    Reader reader{&vars, "", true};
    vars.addWatcher("n", &reader, &Reader::changed);
    vars.setInt("n", 5);
    EXPECT_EQ("5", reader.seen);
    vars.removeVariable("n");
    EXPECT_FALSE(reader.present);
}

// Every watcher of one change is told the value that was set, whatever an earlier watcher does to the
// variable: one that sets it again, or removes it (which used to leave later watchers reading freed text).
TEST(EngineVariablesTest, LaterWatchersHearTheValueSetEvenWhenAnEarlierOneChangesIt) {
    struct Meddler {
        EngineVariables* vars;
        bool remove;
        bool busy = false;
        void changed(std::string name, std::string) {
            if (busy) {
                return;
            }
            busy = true;
            if (remove) {
                vars->removeVariable(name);
            } else {
                vars->setString(name, "replaced by a longer text than the one that was set");
            }
            busy = false;
        }
    };
    for (bool remove : {false, true}) {
        EngineVariables vars;
        Meddler meddler{&vars, remove};
        Watcher later;
        vars.addWatcher("v", &meddler, &Meddler::changed);
        vars.addWatcher("v", &later, &Watcher::changed);
        vars.setString("v", "set");
        ASSERT_FALSE(later.calls.empty());
        // The meddler's own change is reported first (nested), then the original one, unchanged.
        EXPECT_EQ("set", later.calls.back().second) << (remove ? "removed" : "set again");
    }
}

TEST(EngineVariablesTest, TheProcessStoreAlwaysExists) {
    ASSERT_NE(nullptr, getEngineVariables());
    EXPECT_EQ(getEngineVariables(), getEngineVariables());
}

}  // namespace
