// What a cell space's legend lists: "no value" whenever cells without a value are drawn (of the slice, when
// sliced), and beside colour rules what the ramp still colours. Expected entries read from the logs by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "control/VCCellView.h"
#include "control/VCSimulation.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

// A legend as one line: "bar" when the colour bar is drawn, then each swatch.
std::string entries(const VCCellView::DrawnModel& model) {
    std::ostringstream out;
    out << (model.bar ? "bar" : "");
    for (const VCCellView::Swatch& swatch : model.swatches) {
        out << (out.tellp() > 0 ? " | " : "");
        if (swatch.noValue) {
            out << "no value";
        } else if (!swatch.text.empty()) {
            out << swatch.text;
        } else if (swatch.low == swatch.high) {
            out << swatch.low;
        } else {
            out << swatch.low << ".." << swatch.high;
        }
    }
    return out.str();
}

TEST(CellLegendEntriesTest, TheLegendListsWhatTheCellsDrawnShow) {
    LogRecorder log;
    TempDir dir;
    // Layer z = 0 of a 1 x 2 x 2 block sends 1 and 2; only the I line names (0,1,1), so layer z = 1 has no
    // value. Only the I line names the silent block. By hand, plane's 223 sending cells of 625 send 0.00061
    // to 0.44444.
    const std::string block = dir.write("block.log",
                                        "msg I / 00:00:00:000 / block(02) to block(0,1,1)(10)\n"
                                        "msg Y / 00:00:01:000 / block(0,0,0)(03) / out / 1 to block(02)\n"
                                        "msg Y / 00:00:01:000 / block(0,1,0)(04) / out / 2 to block(02)\n");
    const std::string silent =
        dir.write("silent.log", "msg I / 00:00:00:000 / silent(02) to silent(1,1)(10)\n");
    // A 2 x 2 plane whose cell (1,1) never sends; -0.5 is below zero.
    const std::string ramp = dir.write("ramp.log",
                                       "msg Y / 00:00:01:000 / ramp(0,0)(03) / out / -0.5 to ramp(02)\n"
                                       "msg Y / 00:00:01:000 / ramp(0,1)(04) / out / 2.5 to ramp(02)\n"
                                       "msg Y / 00:00:01:000 / ramp(1,0)(05) / out / 7.25 to ramp(02)\n");
    const std::string plane = std::string(TESS_SHARED_DIR) + "/logs/water_spread_2d_25x25.log";
    struct Case {
        std::string file;
        const char* model;
        std::vector<std::pair<double, double>> rules;
        int axis;  // of the slice; -1 for none
        unsigned layer;
        const char* expected;
        bool log = false;  // a log scale
    };
    const std::vector<Case> cases = {
        {block, "block", {}, -1, 0, "2 | 1 | no value"},
        {block, "block", {}, 2, 0, "2 | 1"},
        {block, "block", {}, 2, 1, "2 | 1 | no value"},
        {silent, "silent", {}, -1, 0, "no value"},
        {block, "block", {{1, 1}}, -1, 0, "1 | 2 | no value"},
        {plane, "plane", {}, -1, 0, "bar | no value"},
        {plane, "plane", {{0, 0.01}}, -1, 0, "bar | 0..0.01 | no value"},
        {plane, "plane", {{0.2, 0.5}, {0, 0.2}}, -1, 0, "0.2..0.5 | 0..0.2 | no value"},
        {ramp, "ramp", {}, -1, 0, "bar | no value"},
        {ramp, "ramp", {}, -1, 0, "bar | ≤ 0 | no value", true},
    };
    VCSimulation simulation;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        if (!std::filesystem::exists(c.file)) {
            continue;  // the real logs are not here
        }
        ASSERT_TRUE(simulation.newVisualization("run"));
        ASSERT_TRUE(simulation.importLogFile(c.file));
        simulation.timeLast();
        auto* model = dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel(c.model));
        ASSERT_NE(nullptr, model);
        model->getLook().setLogScale(c.log);
        for (const auto& [low, high] : c.rules) {
            model->getLook().addRule(model->getRules(), low, high, {1.0f, 0.0f, 0.0f, 1.0f});
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
