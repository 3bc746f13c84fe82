// What a long import logs: the lines of its first 100,000 messages as they come, then a line for every
// further 100,000 and one at its end (--log-every-message keeps them all: checked end to end).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "control/VCSimulation.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;

// Message i (from 1) of a generated log, at i milliseconds.
std::string messageLine(long long i) {
    char line[96];
    std::snprintf(line, sizeof line, "msg Y / %02lld:%02lld:%02lld:%03lld / a(1) / out / 1 to b(2)",
                  i / 3600000, i / 60000 % 60, i / 1000 % 60, i % 1000);
    return line;
}

std::string messageLog(long long messages) {
    std::string text;
    for (long long i = 1; i <= messages; ++i) {
        text += messageLine(i) + "\n";
    }
    return text;
}

// A Cadmium 2 run of `rows` outputs of one model, row i (from 1) at i milliseconds.
std::string csvRun(long long rows) {
    std::string text = "time;model_id;model_name;port_name;data\n";
    char line[64];
    for (long long i = 1; i <= rows; ++i) {
        std::snprintf(line, sizeof line, "%lld.%03lld;1;a;out;1\n", i / 1000, i % 1000);
        text += line;
    }
    return text;
}

const std::string kEnd =
    " messages; the lines of the first 100,000 are in the log (--log-every-message writes all)";

TEST(ImportSummaryTest, TheFirst100000MessagesAreLoggedThenSummarised) {
    TempDir dir;
    LogRecorder rec;
    VCSimulation simulation;
    const std::string broken = dir.file("broken.csv");
    // Each message line logs "Adding event" and itself; the first also registers a and b, four lines each
    // ("Model Data:", "Name: a", "Input ports: ", "Output ports: out | "). Rows of separated values log
    // no lines of their own: only what is not a message's is counted there.
    const struct {
        const char* file;
        std::string content;
        long long logged;  // messages whose lines are in the log; -1: separated values
        size_t lines;      // the whole log
        Lines summary;     // its last lines, which are no message's
    } cases[] = {
        {"under.log", messageLog(99999), 99999, 8 + 2 * 99999, {}},
        {"at.log", messageLog(100000), 100000, 8 + 2 * 100000, {}},
        {"over.log", messageLog(100001), 100000, 8 + 2 * 100000 + 1, {"Imported 100,001" + kEnd}},
        {"marks.log",
         messageLog(250000),
         100000,
         8 + 2 * 100000 + 2,
         {"Imported 200,000 messages, up to 00:03:20:000", "Imported 250,000" + kEnd}},
        {"rows.csv",
         csvRun(300002),
         -1,
         0,
         {"Imported 200,000 messages, up to 00:03:20:000", "Imported 300,000 messages, up to 00:05:00:000",
          "Imported 300,002" + kEnd}},
        // A failure past the first messages is never summarised away: a cell of four dimensions. Row 100,001
        // was still waiting for lines that continue it: 100,000 messages were read.
        {"broken.csv",
         csvRun(100001) + "100.002;2;(1,1,1,1);;1\n",
         -1,
         0,
         {broken + ": cells of 4 dimensions; at most 3 can be shown (line 100003)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = dir.write(c.file, c.content);
        ASSERT_TRUE(simulation.newVisualization("run"));
        rec.clear();
        EXPECT_EQ(path != broken, simulation.importLogFile(path));
        const Lines& lines = rec.lines();
        ASSERT_GE(lines.size(), c.summary.size());
        EXPECT_EQ(c.summary, Lines(lines.end() - static_cast<long>(c.summary.size()), lines.end()));
        if (c.logged >= 0) {
            EXPECT_EQ(c.lines, lines.size());
            EXPECT_EQ(static_cast<size_t>(c.logged), rec.count("Adding event"));
            EXPECT_EQ(messageLine(c.logged), lines[lines.size() - c.summary.size() - 1]);
        }
        simulation.closeVisualization();
    }
}

}  // namespace
