// vis_messages as the console runs it: on a real log, each expected line read by hand from the file (the
// comments give its line numbers), and on a run written here with more messages at one time than are listed.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "shell/EngineVariables.h"
#include "simdata/SDEvent.h"
#include "simdata/SDEventList.h"
#include "simdata/SDVisualization.h"
#include "tests/console/CommandFixture.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

class MessagesCommandTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        getEngineVariables()->setBool("console_logging", true);
    }
    // With the console channel off, so that the import does not fill the console.
    void open(const std::string& log) {
        run("vis_new messages");
        getEngineVariables()->setBool("console_logging", false);
        run("vis_import_logfile " + log);
        getEngineVariables()->setBool("console_logging", true);
    }
    Lines at(const std::string& time, const std::string& command) {
        run("time_goto " + time);
        return run(command);
    }

    struct Case {
        const char* time;
        const char* command;
        Lines lines;
    };
    void expectCases(const Case* begin, const Case* end) {
        for (const Case* c = begin; c != end; ++c) {
            EXPECT_EQ(c->lines, at(c->time, c->command)) << c->command << " at " << c->time;
        }
    }

    TempDir dir;
};

TEST_F(MessagesCommandTest, RefusalsAndNoVisualization) {
    EXPECT_EQ("usage: vis_messages [$model]", check("vis_messages a b"));
    EXPECT_EQ("Listing messages...", check("vis_messages"));
    EXPECT_EQ("Listing messages...", check("vis_messages gunner"));
    EXPECT_EQ(Lines{"Unable to list messages. Visualization does not exist."}, run("vis_messages"));
    EXPECT_EQ(Lines{"Unable to list messages. Visualization does not exist."}, run("vis_messages top"));
}

TEST_F(MessagesCommandTest, GunLoaderCrew) {
    const std::string log = (fs::path(TESS_SHARED_DIR) / "logs" / "gun_loader_crew.log").string();
    if (!fs::exists(log)) {
        GTEST_SKIP() << "no real logs";
    }
    open(log);
    const Case cases[] = {
        // The first X line is at 00:00:05:000 (line 19).
        {"start", "vis_messages", {"No messages at 00:00:00:000"}},
        {"start", "vis_messages nosuch", {"No model named nosuch"}},
        {"00:00:20:004",
         "vis_messages",
         {"Messages at 00:00:20:004: 2", "electric_fire --out: 1.000000--> gunner",  // line 91
          "gunner --ecin: 1.000000--> fire"}},                                       // line 93
        {"00:00:20:004",
         "vis_messages fire",
         {"Messages from or to fire at 00:00:20:004: 1", "gunner --ecin: 1.000000--> fire"}},
        // Identical lines are two messages (33, 39), and file order holds (46 after them).
        {"00:00:10:000",
         "vis_messages safety_loader",
         {"Messages from or to safety_loader at 00:00:10:000: 3", "loader --sin: 1.000000--> safety_loader",
          "loader --sin: 1.000000--> safety_loader", "safety_loader --out: 1.000000--> loader"}},
        {"00:00:20:000",
         "vis_messages manual_fire",
         {"Messages from or to manual_fire at 00:00:20:000: 2", "gunner --in: 0.000000--> manual_fire",
          "gunner --in: 0.000000--> manual_fire"}},  // lines 60, 78
        {"00:00:20:008",
         "vis_messages loader",
         {"Messages from or to loader at 00:00:20:008: 2", "top --fin: 1.000000--> loader",  // line 104
          "loader --fin: 1.000000--> barrel"}},                                              // line 105
        {"end",
         "vis_messages Root",
         {"Messages from or to Root at 00:00:20:010: 1", "top --amm_out: 1.000000--> Root"}},
        // gunner sends nothing at the end, but is a model of the run.
        {"end", "vis_messages gunner", {"No messages from or to gunner at 00:00:20:010"}},
    };
    expectCases(std::begin(cases), std::end(cases));
}

// 55 messages at 1 s: a sends 42 to top, and every fourth line top sends one to b. Around them, messages at
// other times, a cell's included.
TEST_F(MessagesCommandTest, ManyMessagesAtOneTime) {
    std::string text = "msg X / 00:00:00:500 / top(01) / in /      0.50000 to b(03)\n";
    Lines all, toB;
    for (int i = 1; i <= 55; ++i) {
        const std::string value = std::to_string(i) + ".00000";
        if (i % 4 == 0) {
            text += "msg X / 00:00:01:000 / top(01) / in / " + value + " to b(03)\n";
            toB.push_back("top --in: " + std::to_string(i) + ".000000--> b");
        } else {
            text += "msg Y / 00:00:01:000 / a(02) / out / " + value + " to top(01)\n";
        }
        all.push_back(i % 4 == 0 ? toB.back() : "a --out: " + std::to_string(i) + ".000000--> top");
    }
    text +=
        "msg Y / 00:00:02:000 / life(1,2)(04) / out /      7.00000 to life(05)\n"
        "msg X / 00:00:02:000 / life(05) / neighborchange /      7.00000 to life(1,3)(06)\n";
    open(dir.write("many.log", text));

    Lines first50(all.begin(), all.begin() + 50);
    Lines everyLine = first50;
    everyLine.insert(everyLine.begin(), "Messages at 00:00:01:000: 55");
    everyLine.push_back("... and 5 more");
    Lines toTop = first50;
    toTop.insert(toTop.begin(), "Messages from or to top at 00:00:01:000: 55");
    toTop.push_back("... and 5 more");
    Lines fromA;
    for (const std::string& line : all) {
        if (line.rfind("a ", 0) == 0) {
            fromA.push_back(line);
        }
    }
    ASSERT_EQ(42u, fromA.size());
    fromA.insert(fromA.begin(), "Messages from or to a at 00:00:01:000: 42");
    toB.insert(toB.begin(), "Messages from or to b at 00:00:01:000: 13");

    const Case cases[] = {
        {"00:00:00:500", "vis_messages", {"Messages at 00:00:00:500: 1", "top --in: 0.500000--> b"}},
        {"00:00:01:000", "vis_messages", everyLine},
        {"00:00:01:000", "vis_messages top", toTop},
        {"00:00:01:000", "vis_messages a", fromA},
        {"00:00:01:000", "vis_messages b", toB},
        {"00:00:01:000", "vis_messages life", {"No messages from or to life at 00:00:01:000"}},
        {"00:00:02:000",
         "vis_messages",
         {"Messages at 00:00:02:000: 2", "life(1,2) --out: 7.000000--> life",
          "life --neighborchange: 7.000000--> life(1,3)"}},
        {"00:00:02:000",
         "vis_messages life(1,3)",
         {"Messages from or to life(1,3) at 00:00:02:000: 1",
          "life --neighborchange: 7.000000--> life(1,3)"}},
        {"00:00:02:000", "vis_messages life(9,9)", {"No model named life(9,9)"}},
        {"00:00:02:000", "vis_messages out", {"No model named out"}},  // a port
    };
    expectCases(std::begin(cases), std::end(cases));

    // An event without a time sits where it arrived, among those of 2 s; a later one at 2 s goes after it.
    SDEventList* events = getVisualization()->getEventList();
    for (double time : {std::nan(""), 2000.0}) {
        SDEvent event;
        event.m_time = SDTime(time);
        event.m_source = "top";
        event.m_port = "in";
        event.m_value = 3.0;
        event.m_destination = "b";
        events->addEventCopy(event);
    }
    EXPECT_EQ((Lines{"Messages from or to b at 00:00:02:000: 1", "top --in: 3.000000--> b"}),
              at("00:00:02:000", "vis_messages b"));

    // Tab completes a model name as after vis_model.
    EXPECT_EQ("vis_messages top", parser.completeLine("vis_messages to").line);
}

}  // namespace
