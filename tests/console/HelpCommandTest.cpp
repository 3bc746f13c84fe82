// help, the command table behind it and the usage lines, and Tab after "help ".
#include <map>
#include <set>
#include <string>
#include <vector>

#include "console/CommandArguments.h"
#include "console/CommandTable.h"
#include "tests/console/CommandFixture.h"

namespace {

class HelpCommandTest : public CommandTest {
  protected:
    // What the line printed into the console.
    Lines help(const std::string& line) {
        getEngineVariables()->setBool("console_logging", true);
        return run(line);
    }
};

TEST_F(HelpCommandTest, HelpListsEveryCommandOnceWithItsUsage) {
    const Lines lines = help("help");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("Commands (help <command> says what one does):", lines.front());
    std::set<std::string> listed;
    for (size_t i = 1; i < lines.size(); ++i) {
        // "  name arguments": the usage line without "usage: ".
        ASSERT_EQ(0u, lines[i].rfind("  ", 0)) << lines[i];
        const std::string name = lines[i].substr(2, lines[i].find(' ', 2) - 2);
        EXPECT_TRUE(listed.insert(name).second) << name << " twice";
        EXPECT_EQ("usage: " + lines[i].substr(2), commandargs::usage(name));
    }
    const Lines names = parser.getCommandNames();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), listed) << "every command the parser knows";
    EXPECT_EQ(37u, listed.size());
}

// Each command refuses a line with the same usage line that `help <command>` gives, so the one table is
// where both come from.
TEST_F(HelpCommandTest, HelpOnACommandGivesTheUsageLineItPrintsAndWhatItDoes) {
    const std::map<std::string, std::string> refused = {
        {"cam_move", "cam_move 1"},
        {"cam_rotate", "cam_rotate 1"},
        {"exit", "exit now"},
        {"help", "help a b"},
        {"play", "play fast"},
        {"print", "print vis"},
        {"stop", "stop now"},
        {"time_goto", "time_goto soon"},
        {"time_next", "time_next 1"},
        {"time_prev", "time_prev 1"},
        {"vis_add_detail_node", "vis_add_detail_node SPHERE 1 2 3 4"},
        {"vis_background", "vis_background fallrock"},
        {"vis_cell", "vis_cell life"},
        {"vis_cells", "vis_cells heat round"},
        {"vis_changes", "vis_changes maybe"},
        {"vis_close", "vis_close now"},
        {"vis_color", "vis_color life"},
        {"vis_export", "vis_export life"},
        {"vis_field", "vis_field life one"},
        {"vis_fit", "vis_fit now"},
        {"vis_import_logfile", "vis_import_logfile"},
        {"vis_import_model", "vis_import_model"},
        {"vis_layers", "vis_layers fallrock"},
        {"vis_messages", "vis_messages a b"},
        {"vis_model", "vis_model"},
        {"vis_new", "vis_new"},
        {"vis_outline", "vis_outline maybe"},
        {"vis_palette", "vis_palette life"},
        {"vis_plot", "vis_plot life 1.5"},
        {"vis_ramp", "vis_ramp life pink"},
        {"vis_range", "vis_range life"},
        {"vis_scale", "vis_scale life"},
        {"vis_slice", "vis_slice fallrock z"},
        {"vis_snapshot", "vis_snapshot"},
        {"vis_state", "vis_state now"},
        {"vis_structure", "vis_structure maybe"},
        {"vis_view", "vis_view"},
    };
    for (const std::string& name : parser.getCommandNames()) {
        auto line = refused.find(name);
        ASSERT_NE(refused.end(), line) << name << " needs a line it refuses here";
        const std::string usage = check(line->second);
        EXPECT_EQ(0u, usage.rfind("usage: " + name, 0)) << usage;
        const Lines told = help("help " + name);
        ASSERT_EQ(2u, told.size()) << name;
        EXPECT_EQ(usage, told[0]);
        EXPECT_GT(told[1].size(), 20u) << name << ": a sentence on what it does";
        EXPECT_EQ('.', told[1].back()) << told[1];
    }
    EXPECT_EQ("Unknown command: nothing (help lists every command)", check("help nothing"));
    EXPECT_EQ(nullptr, parsed);
}

TEST_F(HelpCommandTest, TabAfterHelpCompletesCommandNames) {
    struct Case {
        const char* typed;
        const char* line;
        Lines listing;
    };
    for (const Case& c : {Case{"help vis_sn", "help vis_snapshot", {}},
                          Case{"help vis_s",
                               "help vis_s",
                               {"vis_scale", "vis_slice", "vis_snapshot", "vis_state", "vis_structure"}},
                          Case{"help zz", "help zz", {}}, Case{"help vis_new x", "help vis_new x", {}},
                          Case{"hel", "help", {}}}) {
        const VDLineCompletion completion = parser.completeLine(c.typed);
        EXPECT_EQ(c.line, completion.line) << c.typed;
        EXPECT_EQ(c.listing, completion.listing) << c.typed;
    }
}

}  // namespace
