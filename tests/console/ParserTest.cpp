#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/VDDEVSConsoleParser.h"
#include "console/VDNewCommand.h"
#include "gui/VDConsoleCommand.h"
#include "shell/VDGarbageCan.h"

namespace {

using Strings = std::vector<std::string>;

TEST(TokenizeTest, EveryDelimiterEndsAPieceButATrailingOneStartsNone) {
    EXPECT_EQ((Strings{"vis_new", "", "demo"}), VDConsoleParser::tokenize("vis_new  demo", " "));
    EXPECT_EQ((Strings{"vis_new", "demo"}), VDConsoleParser::tokenize("vis_new demo ", " "));
    EXPECT_EQ((Strings{"", "exit"}), VDConsoleParser::tokenize(" exit", " "));
    EXPECT_EQ((Strings{""}), VDConsoleParser::tokenize(" ", " "));
    EXPECT_EQ((Strings{"", "", ""}), VDConsoleParser::tokenize("   ", " "));
    EXPECT_TRUE(VDConsoleParser::tokenize("", " ").empty());
    EXPECT_EQ((Strings{"a\tb"}), VDConsoleParser::tokenize("a\tb", " ")) << "only the blank separates";
    EXPECT_EQ((Strings{"a", "b", "c"}), VDConsoleParser::tokenize("a,b;c", ",;"));
}

TEST(CompletionTest, NamesThatBeginWithThePrefixInRegistrationOrder) {
    VDDEVSConsoleParser parser;
    const Strings names{"cam_move",
                        "cam_rotate",
                        "exit",
                        "help",
                        "play",
                        "print",
                        "stop",
                        "time_goto",
                        "time_next",
                        "time_prev",
                        "vis_add_detail_node",
                        "vis_background",
                        "vis_cell",
                        "vis_cells",
                        "vis_changes",
                        "vis_close",
                        "vis_color",
                        "vis_export",
                        "vis_field",
                        "vis_fit",
                        "vis_import_logfile",
                        "vis_import_model",
                        "vis_layers",
                        "vis_messages",
                        "vis_model",
                        "vis_new",
                        "vis_outline",
                        "vis_palette",
                        "vis_plot",
                        "vis_ramp",
                        "vis_range",
                        "vis_scale",
                        "vis_slice",
                        "vis_snapshot",
                        "vis_state",
                        "vis_structure",
                        "vis_view"};
    EXPECT_EQ(names, parser.getCommandNames());
    EXPECT_EQ(parser.getCommandNames(), parser.getCompletions(""));
    Strings vis;
    for (const std::string& name : names) {
        if (name.rfind("vis_", 0) == 0) {
            vis.push_back(name);
        }
    }
    EXPECT_EQ(vis, parser.getCompletions("vis_"));
    EXPECT_EQ((Strings{"vis_cell", "vis_cells", "vis_changes", "vis_close", "vis_color"}),
              parser.getCompletions("vis_c"));
    EXPECT_EQ((Strings{"time_next"}), parser.getCompletions("time_n"));
    EXPECT_EQ((Strings{"cam_move", "cam_rotate"}), parser.getCompletions("c"));
    EXPECT_EQ((Strings{"play", "print"}), parser.getCompletions("p"));
    EXPECT_EQ((Strings{"print"}), parser.getCompletions("pr"));
    EXPECT_TRUE(parser.getCompletions("x").empty());
    EXPECT_TRUE(parser.getCompletions("printer").empty()) << "a name shorter than the prefix never matches";
    EXPECT_EQ((Strings{"exit"}), parser.getCompletions("exit"));
}

class ParserTest : public ::testing::Test {
  protected:
    void SetUp() override { createGarbageCan(); }
    void TearDown() override {
        delete command;
        destroyGarbageCan();
    }
    bool parse(const std::string& line) {
        delete command;
        command = nullptr;
        reply = "untouched";
        return parser.parse(line, &command, reply);
    }

    VDDEVSConsoleParser parser;
    VDConsoleCommand* command = nullptr;
    std::string reply;
};

TEST_F(ParserTest, TheFirstTokenPicksTheCommandExactly) {
    const Strings names = {"exit",        "vis_new",    "vis_import_logfile",
                           "vis_close",   "print",      "vis_add_detail_node",
                           "cam_move",    "cam_rotate", "time_next",
                           "time_prev",   "time_goto",  "vis_cell",
                           "vis_state",   "vis_color",  "vis_fit",
                           "vis_snapshot"};
    const Strings lines = {"exit",
                           "vis_new a",
                           "vis_import_logfile f",
                           "vis_close",
                           "print VIS",
                           "vis_add_detail_node CUBE 1 2 3 4",
                           "cam_move 1 2 3",
                           "cam_rotate 1 2 3",
                           "time_next",
                           "time_prev",
                           "time_goto start",
                           "vis_cell m 1",
                           "vis_state",
                           "vis_color m clear",
                           "vis_fit",
                           "vis_snapshot s.png"};
    for (size_t i = 0; i < lines.size(); ++i) {
        ASSERT_TRUE(parse(lines[i])) << lines[i] << ": " << reply;
        ASSERT_NE(nullptr, command);
        EXPECT_EQ(names[i], command->getName());
    }
    EXPECT_EQ(0u, getGarbageCan()->pendingCount());
}

TEST_F(ParserTest, UnknownNamesAreRefusedWithTheNameAsTyped) {
    EXPECT_FALSE(parse("EXIT"));
    EXPECT_EQ("Unknown command: EXIT", reply);
    EXPECT_EQ(nullptr, command);
    EXPECT_FALSE(parse(" exit"));
    EXPECT_EQ("Unknown command: ", reply);
    EXPECT_FALSE(parse("   "));
    EXPECT_EQ("Unknown command: ", reply);
    EXPECT_EQ(0u, getGarbageCan()->pendingCount()) << "nothing was created";

    EXPECT_FALSE(parse(""));
    EXPECT_EQ("untouched", reply) << "a line without tokens leaves the reply alone";
}

TEST_F(ParserTest, RefusedArgumentsGiveTheUsageTextAndDiscardTheCommand) {
    EXPECT_FALSE(parse("vis_new  demo"));
    EXPECT_EQ("usage: vis_new $visualization_name", reply);
    EXPECT_EQ(nullptr, command);
    EXPECT_EQ(1u, getGarbageCan()->pendingCount());

    ASSERT_TRUE(parse("vis_new demo "));
    EXPECT_EQ("Creating new visualization context named: demo.vis", reply);
    EXPECT_EQ("demo.vis", static_cast<VDNewCommand*>(command)->getVisualizationName());
    EXPECT_EQ(1u, getGarbageCan()->pendingCount());
}

}  // namespace
