// vis_export's arguments, and replies that say the whole of what is wrong, over a 5x5 cell space and a model.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/console/CommandFixture.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kHuge = std::to_string(1e308);  // in full, as %f prints it

class ExportAndRepliesTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        getEngineVariables()->setBool("console_logging", true);
        run("vis_new run");
        run("vis_import_logfile " +
            dir.write("run.log",
                      "msg I / 00:00:00:000 / Root(00) to top(01)\n"
                      "msg Y / 00:00:00:100 / life(3,4)(07) / out / 1.0 to life(02)\n"
                      "msg Y / 00:00:00:100 / life(4,1)(08) / out / 2.0 to life(02)\n"
                      "msg Y / 00:00:00:100 / gen(03) / out / 1e308 to top(01)\n"
                      "msg Y / 00:00:00:200 / life(3,4)(07) / out / 1e308 to life(02)\n"));
    }

    TempDir dir{true};
};

// The parser's replies: a vis_export whose last word cannot be the file gets the usage line.
TEST_F(ExportAndRepliesTest, RefusalsBeforeARunSayWhatIsWrongInFull) {
    const std::string usage =
        "usage: vis_export $model $x [$y [$z]] $file.csv | $model.$port $file.csv | $model $file.csv";
    const std::string lowAboveHigh = ": its low end " + kHuge + " is above its high end -" + kHuge;
    const std::pair<const char*, std::string> cases[] = {
        {"vis_export life 3 4", usage},
        {"vis_export life 3 cell.csv", usage},
        {"vis_export gen.out 5", usage},
        {"vis_export life 3 4 cell.csv", "Exporting life 3 4..."},
        {"vis_range life 1e308 -1e308", "Range refused" + lowAboveHigh},
        {"vis_color life 1e308 -1e308 1 0 0", "Rule refused" + lowAboveHigh},
    };
    for (const auto& [line, reply] : cases) {
        EXPECT_EQ(reply, check(line)) << line;
    }
}

TEST_F(ExportAndRepliesTest, RepliesOfARunSayWhatIsWrongInFull) {
    const std::string rule =
        "-" + kHuge + " <= value <= " + kHuge + " is colour (1.000, 0.000, 0.000, 1.000)";
    dir.write("huge.pal", "[-1e308;1e308] 255 0 0\n");
    const std::pair<const char*, Lines> cases[] = {
        {"vis_color .out ramp",
         {"A ramp colours a block by one of its ports: vis_color <model>.<port> ramp"}},
        {"vis_range life -1e308 1e308", {"Colour range of life: -1e+308 .. 1e+308 (fixed)"}},
        {"vis_color life -1e308 1e308 1 0 0", {"life rule 1: " + rule}},
        {"vis_palette life huge.pal", {"life rule 1: " + rule, "Palette huge.pal: 1 colour rules for life"}},
        {"vis_cell life 3 4", {"life(3,4) = " + kHuge + " since 00:00:00:200"}},
        {"vis_model gen",
         {"gen: atomic, in top", "  out out = " + kHuge + " since 00:00:00:100", "  next event: unknown"}},
        {"vis_slice life x 2147483647", {"Slice refused: life has x from 0 to 4, not 2147483647"}},
    };
    run("time_goto end");
    for (const auto& [line, printed] : cases) {
        EXPECT_EQ(printed, run(line)) << line;
    }
}

}  // namespace
