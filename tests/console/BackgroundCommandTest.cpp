// vis_background and the rule it sets, on small runs written here: which cells of a block are hidden, what
// the command says and what the legend names, each count made by hand from the lines of the run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/VCCellView.h"
#include "shell/EngineVariables.h"
#include "tests/console/CommandFixture.h"
#include "tests/support/TempDir.h"

namespace {

// Y lines at second `second` of the cells of the 2 x 2 x 2 block b (cell = (x * 2 + y) * 2 + z) that have a
// value in `perCell` (-1: none).
std::string outputs(int second, const std::vector<int>& perCell) {
    std::string lines;
    for (unsigned cell = 0; cell < perCell.size(); ++cell) {
        if (perCell[cell] >= 0) {
            lines += "msg Y / 00:00:0" + std::to_string(second) + ":000 / b(" + std::to_string(cell / 4) +
                     "," + std::to_string(cell / 2 % 2) + "," + std::to_string(cell % 2) + ")(1" +
                     std::to_string(cell) + ") / out / " + std::to_string(perCell[cell]) + " to b(02)\n";
        }
    }
    return lines;
}

TEST_F(CommandTest, VisBackgroundHidesTheValueHalfTheCellsOrMoreHoldUnlessShownOrColoured) {
    const std::string most = outputs(1, {0, 0, 0, 0, 0, 1, 1, 1});
    // Only the I line names cell (1,1,1): five of the eight cells have no value.
    const std::string none = "msg I / 00:00:00:000 / b(02) to b(1,1,1)(17)\n" + outputs(1, {1, 1, 1});
    // Second 2: cell 5 sends 0 (0 held by 6 cells); second 3: cells 0 to 2 send 1 (1 held by 5).
    const std::string steps = most + outputs(2, {-1, -1, -1, -1, -1, 0}) + outputs(3, {1, 1, 1});
    const std::string plane =
        "msg Y / 00:00:01:000 / p(0,0)(03) / out / 0 to p(02)\n"
        "msg Y / 00:00:01:000 / p(1,1)(06) / out / 0 to p(02)\n";
    const std::string hide = "vis_background b hide";
    struct Case {
        std::string log;
        std::vector<std::string> lines;  // at the run's last time unless a line moves it
        std::string said;                // by the last line
        size_t hidden;
        std::string note;  // in the legend
    };
    // clang-format off
    const std::vector<Case> cases = {
        {most, {hide}, "b: the background 0 (5 of 8 cells) is hidden", 5, "0 (most cells: hidden)"},
        {outputs(1, {2, 2, 2, 2, 1, 1, 1, 1}), {hide}, "b: the background 1 (4 of 8 cells) is hidden", 4,
         "1 (most cells: hidden)"},
        {outputs(1, {0, 0, 0, 1, 1, 1, 2, 2}), {hide},
         "b: the background is hidden; no value is held by half of its cells or more now", 0, ""},
        {none, {hide}, "b: the background no value (5 of 8 cells) is hidden", 5, "no value (most cells: hidden)"},
        {none, {"vis_color b none 1 0 0", hide},
         "b: the background no value (5 of 8 cells) is drawn: a colour of yours colours it", 0, ""},
        {most, {"vis_background b show"}, "b: the background 0 (5 of 8 cells) is drawn", 0, ""},
        {most, {"vis_color b 0 0 0 0 1", hide},
         "b: the background 0 (5 of 8 cells) is drawn: a colour of yours colours it", 0, ""},
        {most, {"vis_color b 0 0 0 0 1 0", hide}, "b: the background 0 (5 of 8 cells) is hidden", 5, ""},
        {steps, {"time_goto 0:0:1:0", hide, "time_next", hide}, "b: the background 0 (6 of 8 cells) is hidden", 6,
         "0 (most cells: hidden)"},
        {steps, {"time_goto 0:0:1:0", hide, "time_next", "time_next", hide},
         "b: the background 1 (5 of 8 cells) is hidden", 5, "1 (most cells: hidden)"},
        {plane, {"vis_background p hide"}, "p has a single layer along z: all its cells are drawn", 0, ""},
    };
    // clang-format on
    TempDir dir;
    int runs = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        run("vis_new background");
        getEngineVariables()->setBool("console_logging", false);
        run("vis_import_logfile " + dir.write("run" + std::to_string(++runs) + ".log", c.log));
        run("time_goto end");
        getEngineVariables()->setBool("console_logging", true);
        Lines said;
        for (const std::string& line : c.lines) {
            said = run(line);
        }
        ASSERT_FALSE(said.empty());
        EXPECT_EQ(c.said, said.back());
        VCCellView& cells = *getSimulation()->getCellView();
        cells.updateLayout();
        const std::string model = c.log == plane ? "p" : "b";
        size_t hidden = 0;
        for (size_t cell = 0; cell < cells.findPlacement(model)->cellCount(); ++cell) {
            hidden += cells.isCellShown(model, cell) ? 0 : 1;
        }
        EXPECT_EQ(c.hidden, hidden);
        std::string note;
        const std::vector<VCCellView::DrawnModel> drawn = cells.getDrawnModels();
        for (const VCCellView::Swatch& swatch : drawn[0].swatches) {
            note += swatch.text;
        }
        EXPECT_EQ(c.note, note);
        run("vis_close");
    }
}

}  // namespace
