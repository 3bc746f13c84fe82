// The commands that move the current time and ask what cells and models hold: their replies, their output
// in the console and the log file, and their refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "shell/EngineVariables.h"
#include "shell/Log.h"
#include "tests/console/CommandFixture.h"
#include "tests/support/TempDir.h"

namespace {

class TimeCommandTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        getEngineVariables()->setBool("console_logging", true);
    }
    // A 3 x 2 space "grid" and a plain model "gen", with events at 1 s, 2 s and 3 s.
    void openSmallRun() {
        const std::string log =
            dir.write("small.log",
                      "msg X / 00:00:01:000 / top(01) / in / 1.00000 to gen(03)\n"
                      "msg Y / 00:00:01:000 / grid(2,1)(09) / out / 0.50000 to grid(02)\n"
                      "msg Y / 00:00:02:000 / gen(03) / out / 7.00000 to top(01)\n"
                      "msg Y / 00:00:03:000 / grid(2,1)(09) / out / -1.25000 to grid(02)\n"
                      "msg Y / 00:00:03:000 / grid(0,0)(04) / out / nan to grid(02)\n");
        run("vis_new small");
        run("vis_import_logfile " + log);
    }

    TempDir dir;
};

TEST_F(TimeCommandTest, RepliesAndUsageTexts) {
    EXPECT_EQ("Moving to the next time...", check("time_next"));
    EXPECT_EQ("Moving to the previous time...", check("time_prev"));
    EXPECT_EQ("Moving to end...", check("time_goto end"));
    EXPECT_EQ("Moving to 0:90:0:0...", check("time_goto 0:90:0:0"));
    EXPECT_EQ("Looking up cell...", check("vis_cell plane 1 2 3"));
    EXPECT_EQ("Printing model states...", check("vis_state"));
    for (const char* bad : {"time_next 1", "time_prev x", "vis_state all"}) {
        EXPECT_EQ("usage: " + std::string(bad).substr(0, std::string(bad).find(' ')), check(bad));
        EXPECT_EQ(nullptr, parsed) << bad;
    }
    for (const char* bad : {"time_goto", "time_goto 1:2:3", "time_goto 00:00:01:000x", "time_goto later",
                            "time_goto 1:2:3:4:5"}) {
        EXPECT_EQ("usage: time_goto HH:MM:SS:MS | start | end", check(bad)) << bad;
    }
    for (const char* bad :
         {"vis_cell", "vis_cell plane", "vis_cell plane 1.5", "vis_cell plane 1 2 3 4", "vis_cell plane x"}) {
        EXPECT_EQ("usage: vis_cell $model $x [$y [$z]]", check(bad)) << bad;
    }
}

TEST_F(TimeCommandTest, EveryCommandRefusesPolitelyWithoutAVisualization) {
    EXPECT_EQ((Lines{"Unable to move the current time. Visualization does not exist."}), run("time_next"));
    EXPECT_EQ((Lines{"Unable to move the current time. Visualization does not exist."}),
              run("time_goto end"));
    EXPECT_EQ((Lines{"Unable to look up a cell. Visualization does not exist."}), run("vis_cell a 1"));
    EXPECT_EQ((Lines{"Unable to print model states. Visualization does not exist."}), run("vis_state"));
}

TEST_F(TimeCommandTest, MovingPrintsTheTimeAndStaysAtTheEnds) {
    openSmallRun();
    EXPECT_EQ((Lines{"Current time: 00:00:00:000"}), run("time_prev"));
    EXPECT_EQ((Lines{"Time incremented to: 00:00:01:000", "Current time: 00:00:01:000"}), run("time_next"));
    EXPECT_EQ((Lines{"Time incremented to: 00:00:02:000", "Current time: 00:00:02:000"}),
              run("time_goto 00:00:02:999"));
    EXPECT_EQ((Lines{"Time incremented to: 00:00:03:000", "Current time: 00:00:03:000"}),
              run("time_goto 99:00:00:000"));
    EXPECT_EQ((Lines{"Current time: 00:00:03:000"}), run("time_next"));
    EXPECT_EQ((Lines{"Current time: 00:00:03:000"}), run("time_goto end"));
    EXPECT_EQ((Lines{"Time decremented to: 00:00:02:000", "Current time: 00:00:02:000"}), run("time_prev"));
    EXPECT_EQ((Lines{"Time decremented to: 00:00:00:000", "Current time: 00:00:00:000"}),
              run("time_goto -1:00:00:000"));
    run("time_goto end");
    const std::string dashes = "----------------------";
    EXPECT_EQ(
        (Lines{dashes, "Current Visualization:", "Name: small.vis", "Current Time: 00:00:03:000", dashes}),
        run("print VIS"));
}

TEST_F(TimeCommandTest, CellsAndStatesAtTheCurrentTime) {
    openSmallRun();
    EXPECT_EQ((Lines{"grid(2,1) has no value yet"}), run("vis_cell grid 2 1"));
    EXPECT_EQ((Lines{"No model has sent an output yet"}), run("vis_state"));
    run("time_goto 00:00:02:000");
    EXPECT_EQ((Lines{"grid(2,1) = 0.500000 since 00:00:01:000"}), run("vis_cell grid 2 1 0"));
    EXPECT_EQ((Lines{"gen out = 7.000000 since 00:00:02:000"}), run("vis_state"));
    run("time_next");
    EXPECT_EQ((Lines{"grid(2,1) = -1.250000 since 00:00:03:000"}), run("vis_cell grid 2 1"));
    EXPECT_EQ((Lines{"grid(0,0) = nan since 00:00:03:000"}), run("vis_cell grid 0"));

    EXPECT_EQ((Lines{"Cell (3,0,0) is outside grid's 3x2x1 cells"}), run("vis_cell grid 3"));
    EXPECT_EQ((Lines{"Cell (0,0,1) is outside grid's 3x2x1 cells"}), run("vis_cell grid 0 0 1"));
    EXPECT_EQ((Lines{"Cell (99999999999,0,0) is outside grid's 3x2x1 cells"}),
              run("vis_cell grid 99999999999"));
    EXPECT_EQ((Lines{"Cell (0,-1,0) has a negative coordinate"}), run("vis_cell grid 0 -1"));
    EXPECT_EQ((Lines{"No model named plane"}), run("vis_cell plane 0 0"));
    EXPECT_EQ((Lines{"gen is not a Cell-DEVS model"}), run("vis_cell gen 0"));
}

// What the new commands report reaches the log file as well as the console, each line once.
TEST_F(TimeCommandTest, RepliesAndResultsReachTheLogFile) {
    TempDir work(true);
    logdetail::forgetLogFile();
    resetLog();
    getEngineVariables()->setBool("file_logging", true);
    openSmallRun();
    std::string reply;
    VDConsoleCommand* command = nullptr;
    ASSERT_TRUE(parser.parse("time_next", &command, reply));
    command->execute();
    EXPECT_FALSE(parser.parse("time_goto soon", &command, reply));
    flushLog();  // as the GLUT callback that ran the commands does when it returns
    const std::string file = readFile(work.file("log.txt"));
    for (const char* line : {"Moving to the next time...", "Current time: 00:00:01:000",
                             "usage: time_goto HH:MM:SS:MS | start | end"}) {
        EXPECT_NE(std::string::npos, file.find(std::string(line) + "\n")) << line << "\n" << file;
    }
    const Lines shown = printed();
    EXPECT_EQ(0, std::count(shown.begin(), shown.end(), "Moving to the next time..."))
        << "the console shows the reply itself";
    EXPECT_EQ(1, std::count(shown.begin(), shown.end(), "Current time: 00:00:01:000"));
    bool console = false;
    EXPECT_TRUE(getEngineVariables()->getBool("console_logging", console) && console);
    getEngineVariables()->removeVariable("file_logging");
    logdetail::forgetLogFile();
}

}  // namespace
