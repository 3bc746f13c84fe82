// What a cell space's legend lists: "no value" whenever cells without a value are drawn (of the slice, when
// sliced), and beside colour rules what the ramp still colours. Expected entries read from the logs by hand.
#include <gtest/gtest.h>

#include <array>
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

// A legend as one line: "bar" when the colour bar is drawn, then each swatch, " hidden" for alpha 0.
std::string entries(const VCCellView::DrawnModel& model) {
    std::ostringstream out;
    out << (model.bar ? "bar" : "");
    for (const VCCellView::Swatch& swatch : model.swatches) {
        out << (out.tellp() > 0 ? " | " : "");
        if (swatch.noValue) {
            out << "no value";
        } else {
            out << swatch.low;
            if (swatch.high != swatch.low) {
                out << ".." << swatch.high;
            }
        }
        out << (swatch.colour[3] == 0.0f ? " hidden" : "");
    }
    return out.str();
}

TEST(CellLegendEntriesTest, TheLegendListsWhatTheCellsDrawnShow) {
    LogRecorder log;
    TempDir dir;
    const std::string logs = std::string(TESS_SHARED_DIR) + "/logs/";
    const std::string rock = logs + "falling_mass_3d_8x8x8.log";
    const std::string rockModel = std::string(TESS_SOURCE_DIR) + "/samples/models/falling_mass_3d_8x8x8.ma";
    // Layer z = 0 of a 2 x 2 x 2 block sends 1, 2, 1, 2; the I line names (1,1,1), so layer z = 1 has no
    // value. A block that only the I line names never has one.
    const std::string block = dir.write("block.log",
                                        "msg I / 00:00:00:000 / block(02) to block(1,1,1)(10)\n"
                                        "msg Y / 00:00:01:000 / block(0,0,0)(03) / out / 1 to block(02)\n"
                                        "msg Y / 00:00:01:000 / block(0,1,0)(04) / out / 2 to block(02)\n"
                                        "msg Y / 00:00:01:000 / block(1,0,0)(05) / out / 1 to block(02)\n"
                                        "msg Y / 00:00:01:000 / block(1,1,0)(06) / out / 2 to block(02)\n");
    const std::string silent =
        dir.write("silent.log", "msg I / 00:00:00:000 / silent(02) to silent(1,1)(10)\n");
    // By hand: fallrock's 74 outputs are all 1, from 45 of its 512 cells; its model file starts every cell
    // at 0. plane's run from 0.00061 to 0.44444, from 223 of its 625 cells; opening's are 0, 2 and 3, from
    // 20 of its 64 cells.
    struct Case {
        std::vector<std::string> files;
        const char* model;
        std::vector<std::array<double, 3>> rules;  // low, high, alpha
        int axis;                                  // of the slice; -1 for none
        unsigned layer;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {{block}, "block", {}, -1, 0, "2 | 1 | no value"},
        {{block}, "block", {}, 2, 0, "2 | 1"},
        {{block}, "block", {}, 2, 1, "2 | 1 | no value"},
        {{silent}, "silent", {}, -1, 0, "no value"},
        {{rock}, "fallrock", {}, -1, 0, "1 | no value"},
        {{rock, rockModel}, "fallrock", {}, -1, 0, "1 | 0"},
        {{rock, rockModel}, "fallrock", {{0, 0, 0}}, -1, 0, "0 hidden | 1 | no value"},
        {{rock, rockModel}, "fallrock", {{1, 1, 1}}, 2, 3, "1 | 0 | no value"},
        {{logs + "water_spread_2d_25x25.log"}, "plane", {}, -1, 0, "bar | no value"},
        {{logs + "water_spread_2d_25x25.log"}, "plane", {{0, 0.01, 1}}, -1, 0, "bar | 0..0.01 | no value"},
        {{logs + "water_spread_2d_25x25.log"},
         "plane",
         {{0.2, 0.5, 1}, {0, 0.2, 1}},
         -1,
         0,
         "0.2..0.5 | 0..0.2 | no value"},
        {{logs + "morph_filter_2d_8x8.log"}, "opening", {}, -1, 0, "3 | 2 | 0 | no value"},
    };
    VCSimulation simulation;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files.back() + " " + c.expected);
        if (!std::filesystem::exists(c.files.front())) {
            continue;  // the real logs are not here
        }
        ASSERT_TRUE(simulation.newVisualization("run"));
        for (const std::string& file : c.files) {
            EXPECT_TRUE(file.substr(file.size() - 3) == ".ma" ? simulation.importModelFile(file)
                                                              : simulation.importLogFile(file));
        }
        simulation.timeLast();
        auto* model = dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel(c.model));
        ASSERT_NE(nullptr, model);
        for (const auto& [low, high, alpha] : c.rules) {
            model->getLook().addRule(model->getRules(), low, high,
                                     {1.0f, 0.0f, 0.0f, static_cast<float>(alpha)});
        }
        VCCellView& cells = *simulation.getCellView();
        cells.updateLayout();
        EXPECT_TRUE(c.axis < 0 || cells.setSlice(c.model, c.axis, c.layer));
        const std::vector<VCCellView::DrawnModel> drawn = cells.getDrawnModels();
        ASSERT_EQ(1u, drawn.size());
        EXPECT_EQ(c.expected, entries(drawn[0]));
        simulation.closeVisualization();
    }
}

}  // namespace
