// The plain DEVS generator: the hierarchy it names, the lines of a step, and its command line.
#include "tools/DevsLog.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/LogText.h"
#include "tools/DevsLogArguments.h"

namespace {

TEST(DevsLogTest, TheHierarchyIsTopThenFanOutModelsPerLevelEachLineBetweenAParentAndAChild) {
    DevsLogOptions options;
    options.depth = 2;
    options.fanout = 3;
    options.steps = 5;
    std::ostringstream out;
    DevsLogSummary summary;
    ASSERT_TRUE(writeDevsLog(options, out, &summary));
    const std::vector<std::string> lines = splitLines(out.str());

    // Read back: I lines give each model its parent; every other line must run between a model and its
    // parent, down for X and *, up for Y and D.
    std::map<std::string, std::string> parent;
    std::map<std::string, int> kinds;
    std::set<std::string> times;
    for (const std::string& line : lines) {
        const std::vector<std::string> f = fields(line);
        ASSERT_GE(f.size(), 6u) << line;
        kinds[f[1]]++;
        const std::string& source = f[3];
        const std::string& destination = f.back();
        if (f[1] == "I") {
            parent[destination] = source;
            continue;
        }
        const bool down = f[1] == "X" || f[1] == "*";
        EXPECT_EQ(down ? source : destination, parent[down ? destination : source]) << line;
        if (f[1] == "X" || f[1] == "Y") {
            times.insert(f[2]);
        }
    }
    // 1 + 3 + 9 models: top(01), g1(02) .. g3(04), a1_1(05) .. a3_3(13).
    EXPECT_EQ(13u, parent.size());
    EXPECT_EQ("Root(00)", parent["top(01)"]);
    EXPECT_EQ("top(01)", parent["g3(04)"]);
    EXPECT_EQ("g1(02)", parent["a1_1(05)"]);
    EXPECT_EQ("g3(04)", parent["a3_3(13)"]);
    // Each step: an input down three levels and on to a sibling (4 X), two answers up three levels (6 Y).
    EXPECT_EQ(13, kinds["I"]);
    EXPECT_EQ(5 * 4, kinds["X"]);
    EXPECT_EQ(5 * 6, kinds["Y"]);
    EXPECT_EQ(5 * 2, kinds["*"] / 3) << "an internal transition passes down three levels";
    EXPECT_EQ(static_cast<long long>(lines.size()), summary.lines);
    EXPECT_EQ(13, summary.models);
    EXPECT_EQ(9, summary.atomics);
    EXPECT_EQ(5 * 4, summary.externalMessages);
    EXPECT_EQ(5 * 6, summary.outputMessages);
    // Three times a step: the input, the answer 10 ms on and the sibling's 10 ms later.
    EXPECT_EQ(15u, times.size());
    EXPECT_EQ(1u, times.count("00:00:00:120"));
}

TEST(DevsLogTest, TheCommandLineRefusesRunsThatCannotBeWritten) {
    struct Case {
        std::vector<const char*> arguments;
        bool accepted;
    };
    const Case cases[] = {
        {{"devslog", "--depth", "4", "--fanout", "6", "--steps", "10"}, true},
        {{"devslog", "--depth=0"}, false},
        {{"devslog", "--depth", "9"}, false},
        {{"devslog", "--fanout", "0"}, false},
        {{"devslog", "--depth", "8", "--fanout", "10"}, false},  // a hundred million models
        {{"devslog", "--steps", "-1"}, false},
        {{"devslog", "--colour", "red"}, false},
        {{"devslog", "--help"}, true},
    };
    for (const Case& c : cases) {
        DevsLogCommand command;
        std::string error;
        EXPECT_EQ(c.accepted, parseDevsLogArguments(static_cast<int>(c.arguments.size()), c.arguments.data(),
                                                    command, error))
            << c.arguments[1] << " " << error;
    }
}

}  // namespace
