// What a cell space's legend lists: a "no value" swatch whenever cells without a value are drawn (of the
// slice, when sliced), and beside colour rules the values the ramp still colours. Expected entries are
// read from the log files by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "control/VCCellView.h"
#include "control/VCSimulation.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

struct Rule {
    double low;
    double high;
    float alpha;
};

struct Slice {
    int axis;  // -1: the whole block
    unsigned layer;
};

// A legend as one line: "bar" when the colour bar is drawn, then each swatch: its value or range,
// "no value", with " hidden" for a swatch of alpha 0.
std::string entries(const VCCellView::DrawnModel& model) {
    std::ostringstream out;
    const char* separator = "";
    if (model.bar) {
        out << "bar";
        separator = " | ";
    }
    for (const VCCellView::Swatch& swatch : model.swatches) {
        out << separator;
        separator = " | ";
        if (swatch.noValue) {
            out << "no value";
        } else if (swatch.low == swatch.high) {
            out << swatch.low;
        } else {
            out << swatch.low << ".." << swatch.high;
        }
        if (swatch.colour[3] == 0.0f) {
            out << " hidden";
        }
    }
    return out.str();
}

class CellLegendEntriesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_simulation.newVisualization("run")); }

    void read(const std::string& file) {
        if (file.size() > 3 && file.substr(file.size() - 3) == ".ma") {
            EXPECT_TRUE(m_simulation.importModelFile(file)) << file;
        } else {
            EXPECT_TRUE(m_simulation.importLogFile(file)) << file;
        }
    }
    // The model's legend at the run's end, with these rules and this slice.
    std::string legendAtEnd(const std::string& name, const std::vector<Rule>& rules, const Slice& slice) {
        m_simulation.timeLast();
        auto* model = dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel(name));
        if (model == nullptr) {
            ADD_FAILURE() << name << " is not a cell space";
            return "";
        }
        for (const Rule& rule : rules) {
            model->getLook().addRule(model->getRules(), rule.low, rule.high, {1.0f, 0.0f, 0.0f, rule.alpha});
        }
        VCCellView& cells = *m_simulation.getCellView();
        cells.updateLayout();
        if (slice.axis >= 0) {
            EXPECT_TRUE(cells.setSlice(name, slice.axis, slice.layer));
        }
        for (const VCCellView::DrawnModel& drawn : cells.getDrawnModels()) {
            if (drawn.name == name) {
                return entries(drawn);
            }
        }
        ADD_FAILURE() << name << " is not drawn";
        return "";
    }
    void reopen() {
        m_simulation.closeVisualization();
        ASSERT_TRUE(m_simulation.newVisualization("run"));
    }

    LogRecorder m_log;
    TempDir m_dir;
    VCSimulation m_simulation;
};

TEST_F(CellLegendEntriesTest, TheRealLogsListWhatTheirCellsShow) {
    const fs::path logs = fs::path(TESS_SHARED_DIR) / "logs";
    if (!fs::is_directory(logs)) {
        GTEST_SKIP() << "no real logs at " << TESS_SHARED_DIR;
    }
    const std::string rock = (logs / "falling_mass_3d_8x8x8.log").string();
    const std::string rockModel = std::string(TESS_SOURCE_DIR) + "/samples/models/falling_mass_3d_8x8x8.ma";
    const std::string water = (logs / "water_spread_2d_25x25.log").string();
    const std::string morph = (logs / "morph_filter_2d_8x8.log").string();
    // By hand: fallrock's 74 outputs are all 1, from 45 of its 512 cells; its model file starts every cell
    // at 0. plane's outputs run from 0.00061 to 0.44444, from 223 of its 625 cells. opening's are 0, 2
    // and 3, from 20 of its 64 cells.
    struct Case {
        const char* what;
        std::vector<std::string> files;
        const char* model;
        std::vector<Rule> rules;
        Slice slice;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"rock alone", {rock}, "fallrock", {}, {-1, 0}, "1 | no value"},
        {"rock and air", {rock, rockModel}, "fallrock", {}, {-1, 0}, "1 | 0"},
        {"air hidden, the rock keeps its entry",
         {rock, rockModel},
         "fallrock",
         {{0, 0, 0}},
         {-1, 0},
         "0 hidden | 1 | no value"},
        {"a rule for the rock leaves no value to the ramp",
         {rock, rockModel},
         "fallrock",
         {{1, 1, 1}},
         {-1, 0},
         "1 | 0 | no value"},
        {"a slice of rock and air", {rock, rockModel}, "fallrock", {}, {2, 3}, "1 | 0"},
        {"water", {water}, "plane", {}, {-1, 0}, "bar | no value"},
        {"water partly ruled", {water}, "plane", {{0, 0.01, 1}}, {-1, 0}, "bar | 0..0.01 | no value"},
        {"water wholly ruled",
         {water},
         "plane",
         {{0.2, 0.5, 1}, {0, 0.2, 1}},
         {-1, 0},
         "0.2..0.5 | 0..0.2 | no value"},
        {"morph", {morph}, "opening", {}, {-1, 0}, "3 | 2 | 0 | no value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& file : c.files) {
            read(file);
        }
        EXPECT_EQ(c.expected, legendAtEnd(c.model, c.rules, c.slice));
        reopen();
    }
}

TEST_F(CellLegendEntriesTest, NoValueIsListedWhileTheCellsDrawnIncludeOneWithout) {
    // A 2 x 2 x 2 block: the four cells of layer z = 0 send 1, 2, 1, 2; the I line names (1,1,1), so the
    // block has eight cells and the other four of layer z = 1 never get a value.
    const std::string log = m_dir.write("block.log",
                                        "msg I / 00:00:00:000 / block(02) to block(1,1,1)(10)\n"
                                        "msg Y / 00:00:01:000 / block(0,0,0)(03) / out / 1 to block(02)\n"
                                        "msg Y / 00:00:01:000 / block(0,1,0)(04) / out / 2 to block(02)\n"
                                        "msg Y / 00:00:01:000 / block(1,0,0)(05) / out / 1 to block(02)\n"
                                        "msg Y / 00:00:01:000 / block(1,1,0)(06) / out / 2 to block(02)\n");
    struct Case {
        const char* what;
        std::vector<Rule> rules;
        Slice slice;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"whole", {}, {-1, 0}, "2 | 1 | no value"},
        {"layer z 0, every cell with a value", {}, {2, 0}, "2 | 1"},
        {"layer z 1, no cell with a value", {}, {2, 1}, "2 | 1 | no value"},
        {"row x 1, half of it without", {}, {0, 1}, "2 | 1 | no value"},
        {"layer z 0 with a rule for 2", {{2, 2, 1}}, {2, 0}, "2 | 1 | no value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        read(log);
        EXPECT_EQ(c.expected, legendAtEnd("block", c.rules, c.slice));
        reopen();
    }
    // A block that never sends a value: its legend is that swatch alone.
    read(m_dir.write("silent.log", "msg I / 00:00:00:000 / silent(02) to silent(1,1,1)(10)\n"));
    EXPECT_EQ("no value", legendAtEnd("silent", {}, {-1, 0}));
}

}  // namespace
