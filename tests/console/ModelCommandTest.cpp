// vis_model and the colour rules of model blocks, typed as the console runs them, over a small run written
// here: Root > top > (gen, proc > (a, b)).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/console/CommandFixture.h"
#include "tests/support/TempDir.h"

namespace {

const char* const kRun =
    "msg I / 00:00:00:000 / Root(00) to top(01)\n"
    "msg I / 00:00:00:000 / top(01) to gen(02)\n"
    "msg I / 00:00:00:000 / top(01) to proc(03)\n"
    "msg I / 00:00:00:000 / proc(03) to a(04)\n"
    "msg I / 00:00:00:000 / proc(03) to b(05)\n"
    "msg D / 00:00:00:000 / gen(02) / 00:00:01:000 to top(01)\n"
    "msg * / 00:00:01:000 / top(01) to gen(02)\n"
    "msg Y / 00:00:01:000 / gen(02) / out /      2.50000 to top(01)\n"
    "msg D / 00:00:01:000 / gen(02) / ... to top(01)\n"
    "msg X / 00:00:01:000 / top(01) / in /      2.50000 to proc(03)\n"
    "msg X / 00:00:01:000 / proc(03) / in /      2.50000 to a(04)\n"
    "msg D / 00:00:01:000 / a(04) / 00:00:00:250 to proc(03)\n"
    "msg Y / 00:00:01:250 / a(04) / out /     -1.00000 to proc(03)\n";

class ModelCommandTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        getEngineVariables()->setBool("console_logging", true);
        log = dir.write("run.log", kRun);
    }
    void open() {
        run("vis_new run");
        run("vis_import_logfile " + log);
    }

    TempDir dir;
    std::string log;
};

TEST_F(ModelCommandTest, VisModelPrintsTheModelAtTheCurrentTime) {
    EXPECT_EQ("usage: vis_model $model", check("vis_model"));
    EXPECT_EQ("usage: vis_model $model", check("vis_model a b"));
    EXPECT_EQ("Describing model...", check("vis_model a"));
    EXPECT_EQ(Lines{"Unable to describe model. Visualization does not exist."}, run("vis_model a"));
    open();
    EXPECT_EQ(Lines{"No model named nosuch"}, run("vis_model nosuch"));
    EXPECT_EQ(
        (Lines{"proc: coupled, in top; children a, b", "  in in: nothing yet", "  next event: unknown"}),
        run("vis_model proc"))
        << "at the start";
    // Every model at every time of two real logs: ModelReadingTest.
    run("time_goto end");
    EXPECT_EQ((Lines{"a: atomic, in proc", "  in in = 2.500000 since 00:00:01:000",
                     "  out out = -1.000000 since 00:00:01:250", "  next event: 00:00:01:250"}),
              run("vis_model a"));
    EXPECT_EQ(
        (Lines{"gen: atomic, in top", "  out out = 2.500000 since 00:00:01:000", "  next event: passive"}),
        run("vis_model gen"));
}

TEST_F(ModelCommandTest, TabCompletesModelNames) {
    struct Case {
        const char* typed;
        const char* line;
        Lines listing;
    };
    EXPECT_EQ("vis_model g", parser.completeLine("vis_model g").line) << "nothing open: nothing to complete";
    open();
    const Case cases[] = {
        {"vis_model g", "vis_model gen", {}},
        {"vis_model pr", "vis_model proc", {}},
        {"vis_model ", "vis_model ", {"Root", "a", "b", "gen", "proc", "top"}},
        {"vis_model x", "vis_model x", {}},
        {"vis_mod", "vis_model", {}},
    };
    for (const Case& c : cases) {
        const VDLineCompletion completion = parser.completeLine(c.typed);
        EXPECT_EQ(c.line, completion.line) << c.typed;
        EXPECT_EQ(c.listing, completion.listing) << c.typed;
    }
}

TEST_F(ModelCommandTest, BlocksAreColouredByRulesOnTheirPorts) {
    EXPECT_EQ("Setting block colours...", check("vis_color a.out 0 1 1 0 0"));
    EXPECT_EQ("Setting cell colours...", check("vis_color a clear"));
    const std::string usage =
        "usage: vis_color $model.$port $low $high $r $g $b [$a] | $model.$port clear | "
        "$model.$port ramp";
    EXPECT_EQ(usage, check("vis_color a.out ramp now"));
    EXPECT_EQ(usage, check("vis_color a.out none 1 1 1")) << "no look without a value";
    open();
    struct Case {
        const char* command;
        Lines replies;
    };
    const Case cases[] = {
        {"vis_color a.out -2 0 1 0 0",
         {"a.out rule 1: -2.000000 <= value <= 0.000000 is colour (1.000, 0.000, 0.000, 1.000)"}},
        {"vis_color a.in 2 3 0 0 1 0", {"a.in rule 2: 2.000000 <= value <= 3.000000 is hidden"}},
        {"vis_color a.out -1 5 0 1 0",
         {"a.out rule 3: -1.000000 <= value <= 5.000000 is colour (0.000, 1.000, 0.000, 1.000)",
          "Where it overlaps rule 1, rule 1 comes first and wins"}},
        {"vis_color a.nope 0 1 1 1 1", {"a has no port named nope"}},
        {"vis_color z.out 0 1 1 1 1", {"No model named z"}},
        {"vis_color a.out ramp", {"a is coloured by the ramp of out from -1 to -1"}},
        {"vis_color gen.out ramp", {"gen is coloured by the ramp of out from 2.5 to 2.5"}},
        {"vis_color a.out clear", {"Removed 2 colour rules of a.out"}},
        {"vis_color a ramp", {"A ramp colours a block by one of its ports: vis_color a.<port> ramp"}},
        {"vis_color a clear", {"Removed 1 colour rules of a: its block shows its activity"}},
        {"vis_color proc 0 1 1 1 1", {"proc is not a Cell-DEVS model"}},
        {"vis_color proc clear", {"proc is not a Cell-DEVS model"}},  // it never had rules
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.replies, run(c.command)) << c.command;
    }
}

}  // namespace
