// vis_messages as the console runs it: on a real log, each expected line read by hand from the file (the
// comments give its line numbers), and on a run written here with more messages at one time than are listed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "shell/EngineVariables.h"
#include "tests/console/CommandFixture.h"
#include "tests/support/TempDir.h"

namespace {

class MessagesCommandTest : public CommandTest {
  protected:
    struct Case {
        const char* time;
        const char* command;
        Lines lines;
    };
    // Opens the log with the console channel off, so that the import does not fill the console, then
    // runs each case at its time.
    void expect(const std::string& log, const std::vector<Case>& cases) {
        run("vis_new messages");
        getEngineVariables()->setBool("console_logging", false);
        run("vis_import_logfile " + log);
        getEngineVariables()->setBool("console_logging", true);
        expect(cases);
    }
    void expect(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            run(std::string("time_goto ") + c.time);
            EXPECT_EQ(c.lines, run(c.command)) << c.command << " at " << c.time;
        }
    }
};

TEST_F(MessagesCommandTest, GunLoaderCrew) {
    const std::string log = std::string(TESS_SHARED_DIR) + "/logs/gun_loader_crew.log";
    if (!std::filesystem::exists(log)) {
        GTEST_SKIP() << "no real logs";
    }
    const std::vector<Case> cases = {
        {"start", "vis_messages", {"No messages at 00:00:00:000"}},  // the first X is on line 19
        {"00:00:20:004",
         "vis_messages",
         {"Messages at 00:00:20:004: 2",
          "electric_fire --out: 1.000000--> gunner",  // line 91
          "gunner --ecin: 1.000000--> fire"}},        // line 93
        // Identical lines 33 and 39 are two messages, and line 46 comes after them.
        {"00:00:10:000",
         "vis_messages safety_loader",
         {"Messages from or to safety_loader at 00:00:10:000: 3", "loader --sin: 1.000000--> safety_loader",
          "loader --sin: 1.000000--> safety_loader", "safety_loader --out: 1.000000--> loader"}},
    };
    expect(log, cases);
}

// 55 messages at 1 s: every fourth top sends to b, the other 42 a sends to top; a cell's at 2 s.
TEST_F(MessagesCommandTest, ManyMessagesAtOneTime) {
    EXPECT_EQ("usage: vis_messages [$model]", check("vis_messages a b"));
    getEngineVariables()->setBool("console_logging", true);
    EXPECT_EQ(Lines{"Unable to list messages. Visualization does not exist."}, run("vis_messages"));
    std::string text = "msg X / 00:00:00:500 / top(01) / in /      0.50000 to b(03)\n";
    Lines all{"Messages at 00:00:01:000: 55"}, toB{"Messages from or to b at 00:00:01:000: 13"};
    for (int i = 1; i <= 55; ++i) {
        const std::string n = std::to_string(i);
        text += i % 4 == 0 ? "msg X / 00:00:01:000 / top(01) / in / " + n + ".00000 to b(03)\n"
                           : "msg Y / 00:00:01:000 / a(02) / out / " + n + ".00000 to top(01)\n";
        const std::string line =
            i % 4 == 0 ? "top --in: " + n + ".000000--> b" : "a --out: " + n + ".000000--> top";
        if (i % 4 == 0) {
            toB.push_back(line);
        }
        if (i <= 50) {
            all.push_back(line);
        }
    }
    all.push_back("... and 5 more");
    text +=
        "msg Y / 00:00:02:000 / life(1,2)(04) / out /      7.00000 to life(05)\n"
        "msg X / 00:00:02:000 / life(05) / neighborchange /      7.00000 to life(1,3)(06)\n";
    TempDir dir;
    const std::vector<Case> cases = {
        {"00:00:01:000", "vis_messages", all},
        {"00:00:01:000", "vis_messages b", toB},
        {"00:00:02:000",
         "vis_messages life(1,3)",
         {"Messages from or to life(1,3) at 00:00:02:000: 1",
          "life --neighborchange: 7.000000--> life(1,3)"}},
        {"00:00:02:000", "vis_messages life(9,9)", {"No model named life(9,9)"}},
        {"00:00:02:000", "vis_messages out", {"No model named out"}},  // a port
    };
    expect(dir.write("many.log", text), cases);
    EXPECT_EQ("vis_messages top", parser.completeLine("vis_messages to").line) << "Tab as after vis_model";
}

}  // namespace
