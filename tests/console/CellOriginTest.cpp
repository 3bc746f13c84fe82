// A run whose cells start below 0, offered as a reader offers it: the space "cells" of 5 x 3 cells from
// (-2,-1) to (2,1), its cells named by the run's own coordinates. The commands take and name those.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "control/VCCellView.h"
#include "control/VCSimulationLink.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEvent.h"
#include "simdata/SDVisualization.h"
#include "tests/console/CommandFixture.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

class CellOriginTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        getEngineVariables()->setBool("console_logging", true);
        ASSERT_TRUE(getSimulation()->newVisualization("run"));
        link = std::make_unique<VCSimulationLink>(getSimulation()->getModelList(),
                                                  getSimulation()->getEventList());
        // Outputs on port out: x, y, milliseconds, value.
        for (const auto& [x, y, time, value] : std::vector<std::tuple<int, int, double, double>>{
                 {-2, -1, 0, 1}, {-2, 0, 0, 3}, {2, 1, 0, 7}, {-2, 0, 1000, 4}, {-2, 0, 2500, 8}}) {
            offer(x, y, {-2, -1, 0});
            SDEvent event;
            event.m_type = 1;
            event.m_time = SDTime(time);
            event.m_source = "cells(" + std::to_string(x) + "," + std::to_string(y) + ")";
            event.m_destination = "cells";
            event.m_port = "out";
            event.m_value = value;
            link->offerEvent(event);
        }
    }
    // The record of one cell, stored from the origin on, grown to the last cell (2,1) too.
    void offer(int x, int y, const std::array<int, 3>& origin) {
        SDCELLDevsModel record;
        record.setName("cells");
        record.setOrigin(origin);
        record.appendOutputPort("out");
        record.ensureCell(static_cast<unsigned>(2 - origin[0]), static_cast<unsigned>(1 - origin[1]), 0);
        record.ensureCell(static_cast<unsigned>(x - origin[0]), static_cast<unsigned>(y - origin[1]), 0);
        link->offerModel(record);
    }

    std::unique_ptr<VCSimulationLink> link;  // holds nothing of its own to release
};

// Expected lines read off the outputs above by hand: a cell's last output at or before the time.
TEST_F(CellOriginTest, CommandsTakeAndNameTheRunsCoordinates) {
    TempDir dir;
    const std::string outside = " is outside cells's 5x3x1 cells, (-2,-1,0) to (2,1,0)";
    const std::vector<std::tuple<double, std::string, std::string>> cases = {
        {0, "vis_cell cells -2 0", "cells(-2,0) = 3.000000 since 00:00:00:000"},
        {1000, "vis_cell cells -2 0", "cells(-2,0) = 4.000000 since 00:00:01:000"},
        {2500, "vis_cell cells -2 0", "cells(-2,0) = 8.000000 since 00:00:02:500"},
        {2500, "vis_cell cells -2 -1", "cells(-2,-1) = 1.000000 since 00:00:00:000"},
        {2500, "vis_cell cells 1 1", "cells(1,1) has no value yet"},
        {2500, "vis_cell cells -3 0", "Cell (-3,0,0)" + outside},
        {2500, "vis_export cells -2 0 " + dir.file("a.csv"), "Exported 3 rows to " + dir.file("a.csv")},
        {2500, "vis_export cells 3 0 b.csv", "Unable to export: Cell (3,0,0)" + outside},
        {2500, "vis_slice cells x -2", "cells sliced at x = -2: 3 of its 15 cells"},
        {2500, "vis_slice cells y -01", "cells sliced at y = -1: 5 of its 15 cells"},
        {2500, "vis_slice cells x -3", "Slice refused: cells has x from -2 to 2, not -3"},
    };
    for (const auto& [time, line, expected] : cases) {
        getSimulation()->timeGoto(time);
        EXPECT_EQ(Lines{expected}, run(line));
    }
    EXPECT_EQ("time,time_ms,value\n00:00:00:000,0,3\n00:00:01:000,1000,4\n00:00:02:500,2500,8\n",
              readFile(dir.file("a.csv")));
    EXPECT_EQ("y = -1 of -1..1", getSimulation()->getCellView()->describeSlice("cells"));
    EXPECT_EQ("Slice refused: the layer is a whole number from 0, not -1", check("vis_slice cells z -1"));

    // Records counted from another first cell cannot be merged: refused, and told once.
    LogRecorder rec;
    offer(9, 0, {0, 0, 0});
    offer(9, 0, {0, 0, 0});
    auto* cells = dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel("cells"));
    ASSERT_NE(nullptr, cells);
    EXPECT_EQ(5u, cells->getWidth());
    EXPECT_FALSE(cells->acceptCell(-3, 0, 0));
    EXPECT_EQ((Lines{"Refused CELL model cells from cell (0,0,0): its cells start at (-2,-1,0)",
                     "Refused cell (-3,0,0) of CELL model cells: below its first cell (-2,-1,0)"}),
              rec.lines());
}

}  // namespace
