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

// A Y line of cell `cell` of the 2 x 2 x 2 block b (cell = (x * 2 + y) * 2 + z) at second `second`.
std::string out(int second, unsigned cell, int value) {
    const std::string name = "b(" + std::to_string(cell / 4) + "," + std::to_string(cell / 2 % 2) + "," +
                             std::to_string(cell % 2) + ")(1" + std::to_string(cell) + ")";
    return "msg Y / 00:00:0" + std::to_string(second) + ":000 / " + name + " / out / " +
           std::to_string(value) + " to b(02)\n";
}

// Second 1: cells 0 to 4 send 0, cells 5 to 7 send 1; second 2: cell 5 sends 0; second 3: cells 0 to 2
// send 1.
std::string steps() {
    std::string lines;
    for (unsigned cell = 0; cell < 8; ++cell) {
        lines += out(1, cell, cell < 5 ? 0 : 1);
    }
    lines += out(2, 5, 0);
    for (unsigned cell = 0; cell < 3; ++cell) {
        lines += out(3, cell, 1);
    }
    return lines;
}

std::string values(const std::vector<int>& perCell) {
    std::string lines;
    for (unsigned cell = 0; cell < perCell.size(); ++cell) {
        lines += perCell[cell] < 0 ? "" : out(1, cell, perCell[cell]);
    }
    return lines;
}

class BackgroundCommandTest : public CommandTest {
  protected:
    // The cells of `model` a pick could hit (8 at most here).
    static size_t hidden(const std::string& model) {
        VCCellView* cells = getSimulation()->getCellView();
        cells->updateLayout();
        size_t count = 0;
        for (size_t cell = 0; cell < 8; ++cell) {
            count += cells->findPlacement(model) != nullptr &&
                             cell < cells->findPlacement(model)->cellCount() &&
                             !cells->isCellShown(model, cell)
                         ? 1
                         : 0;
        }
        return count;
    }
    // The legend's note on what is hidden; empty without one.
    static std::string note(const std::string& model) {
        for (const VCCellView::DrawnModel& drawn : getSimulation()->getCellView()->getDrawnModels()) {
            for (const VCCellView::Swatch& swatch : drawn.swatches) {
                if (drawn.name == model && swatch.text.find("most cells") != std::string::npos) {
                    return swatch.text;
                }
            }
        }
        return "";
    }
    TempDir dir;
};

TEST_F(BackgroundCommandTest, HalfTheCellsOrMoreHoldingOneValueAreHiddenUnlessShownOrColoured) {
    struct Case {
        const char* what;
        std::string log;
        std::vector<std::string> lines;  // at the run's last time unless a line moves it
        const char* said;                // by the last line
        const char* model;
        size_t hidden;
        const char* note;
    };
    const std::string noValue = "msg I / 00:00:00:000 / b(02) to b(1,1,1)(17)\n" + values({1, 1, 1});
    const std::vector<Case> cases = {
        {"more than half",
         values({0, 0, 0, 0, 0, 1, 1, 1}),
         {"vis_background b hide"},
         "b: the background 0 (5 of 8 cells) is hidden",
         "b",
         5,
         "0 (most cells: hidden)"},
        {"exactly half: the smaller value",
         values({2, 2, 2, 2, 1, 1, 1, 1}),
         {"vis_background b hide"},
         "b: the background 1 (4 of 8 cells) is hidden",
         "b",
         4,
         "1 (most cells: hidden)"},
        {"less than half",
         values({0, 0, 0, 1, 1, 1, 2, 2}),
         {"vis_background b hide"},
         "b: the background is hidden; no value is held by half of its cells or more now",
         "b",
         0,
         ""},
        {"no value",
         noValue,
         {"vis_background b hide"},
         "b: the background no value (5 of 8 cells) is hidden",
         "b",
         5,
         "no value (most cells: hidden)"},
        {"a tie of no value and a value",
         "msg I / 00:00:00:000 / b(02) to b(1,1,1)(17)\n" + values({3, 3, 3, 3}),
         {"vis_background b hide"},
         "b: the background no value (4 of 8 cells) is hidden",
         "b",
         4,
         "no value (most cells: hidden)"},
        {"show",
         values({0, 0, 0, 0, 0, 1, 1, 1}),
         {"vis_background b show"},
         "b: the background 0 (5 of 8 cells) is drawn",
         "b",
         0,
         ""},
        {"a rule colours it",
         values({0, 0, 0, 0, 0, 1, 1, 1}),
         {"vis_color b 0 0 0 0 1", "vis_background b hide"},
         "b: the background 0 (5 of 8 cells) is drawn: a colour of yours colours it",
         "b",
         0,
         ""},
        {"a rule of alpha 0 hides it anyway",
         values({0, 0, 0, 0, 0, 1, 1, 1}),
         {"vis_color b 0 0 0 0 1 0", "vis_background b hide"},
         "b: the background 0 (5 of 8 cells) is hidden",
         "b",
         5,
         ""},
        {"the look of no value",
         noValue,
         {"vis_color b none 1 0 0", "vis_background b hide"},
         "b: the background no value (5 of 8 cells) is drawn: a colour of yours colours it",
         "b",
         0,
         ""},
        {"following the time: the first",
         steps(),
         {"time_goto 0:0:1:0", "vis_background b hide"},
         "b: the background 0 (5 of 8 cells) is hidden",
         "b",
         5,
         "0 (most cells: hidden)"},
        {"following the time: one more",
         steps(),
         {"time_goto 0:0:1:0", "vis_background b hide", "time_next", "vis_background b hide"},
         "b: the background 0 (6 of 8 cells) is hidden",
         "b",
         6,
         "0 (most cells: hidden)"},
        {"following the time: another value",
         steps(),
         {"time_goto 0:0:1:0", "vis_background b hide", "time_next", "time_next", "vis_background b hide"},
         "b: the background 1 (5 of 8 cells) is hidden",
         "b",
         5,
         "1 (most cells: hidden)"},
        {"one layer",
         "msg Y / 00:00:01:000 / p(0,0)(03) / out / 0 to p(02)\n"
         "msg Y / 00:00:01:000 / p(0,1)(04) / out / 0 to p(02)\n"
         "msg Y / 00:00:01:000 / p(1,1)(06) / out / 0 to p(02)\n",
         {"vis_background p hide"},
         "p has a single layer along z: all its cells are drawn",
         "p",
         0,
         ""},
        {"not a cell space",
         "msg Y / 00:00:01:000 / gen(05) / out / 1 to top(01)\n",
         {"vis_background gen hide"},
         "gen is not a Cell-DEVS model",
         "gen",
         0,
         ""},
        {"no such model",
         values({0}),
         {"vis_background nosuch show"},
         "No model named nosuch",
         "nosuch",
         0,
         ""},
    };
    int runs = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
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
        EXPECT_EQ(c.hidden, hidden(c.model));
        EXPECT_EQ(c.note, note(c.model));
        run("vis_close");
    }
}

}  // namespace
