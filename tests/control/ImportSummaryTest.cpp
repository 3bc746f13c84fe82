// What a long import logs: the lines of its first 100,000 messages as they come, then a line for every
// further 100,000 and one at its end; the lines of every message when the user asks for them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "control/VCSimulation.h"
#include "shell/Log.h"
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

std::string messageLog(long long messages) {
    std::string text;
    text.reserve(static_cast<size_t>(messages) * 50);
    for (long long i = 1; i <= messages; ++i) {
        text += messageLine(i);
        text += '\n';
    }
    return text;
}

const std::string kEnd =
    " messages; the lines of the first 100,000 are in the log (--log-every-message writes all)";

class ImportSummaryTest : public ::testing::Test {
  protected:
    ~ImportSummaryTest() override { setLogEveryMessage(false); }
    TempDir dir;
    LogRecorder rec;
    VCSimulation simulation;
};

TEST_F(ImportSummaryTest, TheFirst100000MessagesAreLoggedThenSummarised) {
    // Each message line logs "Adding event" and itself; the first also registers a and b, four lines each
    // ("Model Data:", "Name: a", "Input ports: ", "Output ports: out | ").
    const struct {
        const char* what;
        long long messages;
        bool csv;
        bool everyMessage;
        long long loggedMessages;  // those whose lines are in the log
        long long lines;           // the whole log, -1: not counted
        Lines summary;             // the lines that are not a message's, in order
    } cases[] = {
        {"just under", 99999, false, false, 99999, 8 + 2 * 99999, {}},
        {"at", 100000, false, false, 100000, 8 + 2 * 100000, {}},
        {"just over", 100001, false, false, 100000, 8 + 2 * 100000 + 1, {"Imported 100,001" + kEnd}},
        {"two and a half marks",
         250000,
         false,
         false,
         100000,
         8 + 2 * 100000 + 2,
         {"Imported 200,000 messages, up to 00:03:20:000", "Imported 250,000" + kEnd}},
        {"just over, every message", 100001, false, true, 100001, 8 + 2 * 100001, {}},
        // Rows of separated values log no lines of their own, and are counted the same.
        {"separated values",
         300002,
         true,
         false,
         0,
         -1,
         {"Imported 200,000 messages, up to 00:03:20:000", "Imported 300,000 messages, up to 00:05:00:000",
          "Imported 300,002" + kEnd}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path =
            c.csv ? dir.write("run" + std::to_string(++n) + ".csv", csvRun(c.messages))
                  : dir.write("run" + std::to_string(++n) + ".log", messageLog(c.messages));
        setLogEveryMessage(c.everyMessage);
        ASSERT_TRUE(simulation.newVisualization("run"));
        rec.clear();
        ASSERT_TRUE(simulation.importLogFile(path));
        const Lines& lines = rec.lines();
        if (c.lines >= 0) {
            EXPECT_EQ(static_cast<size_t>(c.lines), lines.size());
        }
        if (!c.csv) {
            EXPECT_EQ(static_cast<size_t>(c.loggedMessages), rec.count("Adding event"));
            // The last message logged is the last one in the log, every line of it.
            const std::string last = messageLine(c.loggedMessages);
            ASSERT_LT(c.summary.size(), lines.size());
            EXPECT_EQ(last, lines[lines.size() - c.summary.size() - 1]);
            EXPECT_EQ(0u, rec.count(messageLine(c.loggedMessages + 1)));
        }
        ASSERT_GE(lines.size(), c.summary.size());
        EXPECT_EQ(c.summary, Lines(lines.end() - static_cast<long>(c.summary.size()), lines.end()));
        for (const std::string& line : lines) {
            EXPECT_TRUE(line.rfind("Imported ", 0) != 0 ||
                        std::find(c.summary.begin(), c.summary.end(), line) != c.summary.end())
                << line;
        }
        simulation.closeVisualization();
    }
}

TEST_F(ImportSummaryTest, AFailureAfterTheFirstMessagesIsStillLogged) {
    // A cell of four dimensions ends the import: its reason is never summarised away.
    const std::string path = dir.write("broken.csv", csvRun(100001) + "100.002;2;(1,1,1,1);;1\n");
    ASSERT_TRUE(simulation.newVisualization("run"));
    rec.clear();
    EXPECT_FALSE(simulation.importLogFile(path));
    EXPECT_EQ(path + ": cells of 4 dimensions; at most 3 can be shown (line 100003)",
              simulation.getImportFailure());
    EXPECT_EQ(1u, rec.count(simulation.getImportFailure())) << rec.text();
}

}  // namespace
