// vis_export's arguments, and replies that must say the whole of what is wrong, typed
// as the console runs them over a small run written here: life, a 5x5 cell space, rock, a 3D one, and gen,
// a plain model.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/console/CommandFixture.h"
#include "tests/support/TempDir.h"

namespace {

const char* const kRun =
    "msg I / 00:00:00:000 / Root(00) to top(01)\n"
    "msg I / 00:00:00:000 / top(01) to life(02)\n"
    "msg I / 00:00:00:000 / top(01) to gen(03)\n"
    "msg I / 00:00:00:000 / top(01) to rock(04)\n"
    "msg Y / 00:00:00:100 / life(3,4)(07) / out /      1.00000 to life(02)\n"
    "msg Y / 00:00:00:100 / life(4,1)(08) / out /      2.00000 to life(02)\n"
    "msg Y / 00:00:00:100 / gen(03) / out / 1e308 to top(01)\n"
    "msg Y / 00:00:00:100 / rock(1,2,3)(09) / out /      1.00000 to rock(04)\n"
    "msg Y / 00:00:00:200 / life(3,4)(07) / out / 1e308 to life(02)\n";

// 1e308 as the double nearest it holds it, written out in full (Python's Decimal(1e308)).
const std::string kHuge =
    "1000000000000000010979063629440455417404923096773118463368106829031575854049114915371633289784946888"
    "9906124966972117251561159028374314008832830700919814604603127166450293302718569748969958855904333838"
    "4466165001178426897626212945177628091195786707458122783970171784415105291802893207873272974885715430"
    "223118336";

class ExportAndRepliesTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        getEngineVariables()->setBool("console_logging", true);
        run("vis_new run");
        run("vis_import_logfile " + dir.write("run.log", kRun));
    }

    TempDir dir{true};
};

// Where files may be written at all: AtomicFileTest.
TEST_F(ExportAndRepliesTest, AFileNameForgottenGetsTheUsageLineNotAFileNamedAfterACoordinate) {
    const std::string usage =
        "usage: vis_export $model $x [$y [$z]] $file.csv | $model.$port $file.csv | $model $file.csv";
    ::chmod(dir.write("ro.csv", "kept\n").c_str(), 0444);
    const struct {
        const char* line;
        std::string reply;  // the parser's
        Lines printed;      // then, when it runs
    } cases[] = {
        {"vis_export life 3 4", usage, {}},
        {"vis_export gen.out 5", usage, {}},
        {"vis_export life 3 cell.csv", usage, {}},
        {"vis_export rock 1 2 rock.csv", usage, {}},
        {"vis_export life 3 4 cell.csv", "Exporting life 3 4...", {"Exported 2 rows to cell.csv"}},
        {"vis_export rock 1 2 3 rock.csv", "Exporting rock 1 2 3...", {"Exported 1 row to rock.csv"}},
        {"vis_export gen.out 5.csv", "Exporting gen.out...", {"Exported 1 row to 5.csv"}},
        {"vis_export ghost 1 g.csv", "Exporting ghost 1...", {"Unable to export: No model named ghost"}},
        {"vis_export gen.out ro.csv",
         "Exporting gen.out...",
         {"Unable to export to ro.csv: Permission denied"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.reply, check(c.line));
        EXPECT_EQ(c.printed, run(c.line));
        const std::string last = std::string(c.line).substr(std::string(c.line).rfind(' ') + 1);
        const bool written = c.printed.size() == 1 && c.printed[0].rfind("Exported ", 0) == 0;
        EXPECT_EQ(written, readFile(dir.file(last)).rfind("time,time_ms,value\n", 0) == 0);
    }
    EXPECT_EQ("kept\n", readFile(dir.file("ro.csv")));
}

TEST_F(ExportAndRepliesTest, RepliesSayWhatIsWrongInFull) {
    dir.write("huge.pal", "[-1e308;1e308] 255 0 0\n");
    const std::string rule = "-" + kHuge + ".000000 <= value <= " + kHuge + ".000000";
    struct Case {
        const char* line;
        Lines printed;
    } cases[] = {
        {"vis_color .out ramp",
         {"A ramp colours a block by one of its ports: vis_color <model>.<port> ramp"}},
        {"vis_range life -1e308 1e308", {"life colours span -" + kHuge + ".000000 to " + kHuge + ".000000"}},
        {"vis_color life -1e308 1e308 1 0 0",
         {"life rule 1: " + rule + " is colour (1.000, 0.000, 0.000, 1.000)"}},
        {"vis_palette life huge.pal",
         {"life rule 1: " + rule + " is colour (1.000, 0.000, 0.000, 1.000)",
          "Palette huge.pal: 1 colour rules for life"}},
        {"vis_cell life 3 4", {"life(3,4) = " + kHuge + ".000000 since 00:00:00:200"}},
        {"vis_model gen",
         {"gen: atomic, in top", "  out out = " + kHuge + ".000000 since 00:00:00:100",
          "  next event: unknown"}},
        {"vis_slice life x 2147483647", {"Slice refused: life has x from 0 to 4, not 2147483647"}},
        {"vis_slice life y 000099999999999999999999999",
         {"Slice refused: life has y from 0 to 4, not 99999999999999999999999"}},
    };
    run("time_goto end");
    for (const Case& c : cases) {
        EXPECT_EQ(c.printed, run(c.line)) << c.line;
    }
    // The parser's own replies.
    EXPECT_EQ("Range refused: its low end " + kHuge + ".000000 is above its high end -" + kHuge + ".000000",
              check("vis_range life 1e308 -1e308"));
    EXPECT_EQ("Rule refused: its low end " + kHuge + ".000000 is above its high end -" + kHuge + ".000000",
              check("vis_color life 1e308 -1e308 1 0 0"));
}

}  // namespace
