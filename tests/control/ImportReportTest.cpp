// What an import says at its end about the lines it did not read as messages: once for all of them, after
// the lines it read, and a file without any message is no log at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/VCSimulation.h"
#include "loader/SLRunReader.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;

bool isReport(const std::string& line) {
    return line.rfind("Passed over ", 0) == 0 || line.rfind("Read ", 0) == 0 ||
           line.find(" holds no simulation messages") != std::string::npos ||
           line.rfind("Formats tried: ", 0) == 0;
}

TEST(ImportReportTest, LinesThatAreNotMessagesOrNumbersAreReportedOnceAtTheEnd) {
    // A file of no known format names the formats it was read as.
    const std::string kTried = "Formats tried: " + runFormatsTried();
    const std::string y = "msg Y / 00:00:01:000 / a(1) / out / 1.00000 to b(2)\n";
    const struct {
        const char* what;
        std::string content;
        bool imported;
        Lines reports;  // "PATH" stands for the file's path
    } cases[] = {
        {"every kind of message, blank lines between",
         "msg I / 00:00:00:000 / Root(00) to top(01)\n\n"
         "msg D / 00:00:00:000 / a(1) / ... to top(01)\n   \n"
         "msg * / 00:00:01:000 / Root(00) to a(1)\n" +
             y + "msg X / 00:00:01:000 / top(01) / in / 2.50000 to a(1)\r\n",
         true,
         {}},
        {"a table of numbers",
         "\nTiempo\tValor integrado\n     0.00000\t     0.00000\n",
         false,
         {"PATH holds no simulation messages", kTried}},
        {"an empty file", "", false, {"PATH holds no simulation messages", kTried}},
        {"kinds and times that make no message",
         y + "# a comment\n" + y +
             "msg Z / 00:00:01:000 / a(1) to b(2)\n"
             "msg I / noon / a(1) to b(2)\n"
             // Eight fields without a slash: read as an output, as always, so a message.
             "msg Y 00:00:01:000 a(1) out 1 to b(2)\n" +
             y,
         true,
         {"Passed over 3 lines that are not messages, the first at line 2"}},
        {"one line that is not a message",
         y + y + "end of run\n",
         true,
         {"Passed over 1 line that is not a message, the first at line 3"}},
        {"times and values that are not numbers",
         "msg I / 00:00:00:000 / Root(00) to top(01)\n"
         "msg Y / 00:00:00:1OO / a(1) / out / 1 to b(2)\n" +
             y +
             "msg Y / 00:00:01:000 / a(1) / out / garbage to b(2)\n"
             "msg D / 00:x0:00:000 / a(1) / ... to top(01)\n"
             "msg Y / 00:00:01:000 / a(1) / out / 2.5cm to b(2)\n",
         true,
         {"Read 4 message lines with a time or value that is not a number, as 0, the first at line 2"}},
        {"an output whose time has no parts",
         y + "msg Y / garbage / a(1) / out / 1 to b(2)\n",
         true,
         {"Read 1 message line with a time or value that is not a number, as 0, the first at line 2"}},
        {"both",
         "junk\n" + y + "msg X / 0:0:0:0 / a(1) / in / ? to b(2)\n",
         true,
         {"Passed over 1 line that is not a message, the first at line 1",
          "Read 1 message line with a time or value that is not a number, as 0, the first at line 3"}},
    };
    TempDir dir;
    LogRecorder rec;
    VCSimulation simulation;
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.write("run" + std::to_string(++n) + ".log", c.content);
        ASSERT_TRUE(simulation.newVisualization("run"));
        rec.clear();
        EXPECT_EQ(c.imported, simulation.importLogFile(path));
        Lines expected;
        for (std::string report : c.reports) {
            expected.push_back(report.rfind("PATH", 0) == 0 ? path + report.substr(4) : report);
        }
        Lines reports;
        for (const std::string& line : rec.lines()) {
            if (isReport(line)) {
                reports.push_back(line);
            }
        }
        EXPECT_EQ(expected, reports) << rec.text();
        // Said after everything the import read.
        EXPECT_TRUE(expected.empty() || expected.back() == rec.lines().back()) << rec.text();
        EXPECT_EQ(c.imported ? "" : path + " holds no simulation messages", simulation.getImportFailure());
        simulation.closeVisualization();
    }
}

}  // namespace
