// A run whose cells start below 0: a reader offers the space "cells" with its first cell at (-2,-1,0),
// 5 x 3 cells from (-2,-1) to (2,1), and events that name cells by the run's own coordinates. Every
// command that takes or names a cell speaks those coordinates.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "control/VCCellView.h"
#include "control/VCSeriesTarget.h"
#include "control/VCSimulationLink.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEvent.h"
#include "simdata/SDLogMessage.h"
#include "simdata/SDSeries.h"
#include "simdata/SDVisualization.h"
#include "tests/console/CommandFixture.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

// The run, by the run's coordinates: (x, y, milliseconds, value).
struct Output {
    int x;
    int y;
    double time;
    double value;
};
const std::vector<Output> kOutputs = {
    {-2, -1, 0, 1},   {-2, 0, 0, 3},   {2, 1, 0, 7},     {0, 0, 0, 5},
    {-2, 0, 1000, 4}, {0, 0, 1000, 6}, {-2, 0, 2500, 8},
};

std::string reference(int x, int y) {
    return "cells(" + std::to_string(x) + "," + std::to_string(y) + ")";
}

class CellOriginTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        getEngineVariables()->setBool("console_logging", true);
        simulation = getSimulation();
        ASSERT_TRUE(simulation->newVisualization("run"));
        link = std::make_unique<VCSimulationLink>(simulation->getModelList(), simulation->getEventList());
        link->setStructure(getVisualization()->getStructure());
        // As a reader offers it: the top model, then a record of the space per cell met.
        SDDevsModel top;
        top.setName("run");
        link->offerModel(top);
        init("run", "cells");
        for (const Output& output : kOutputs) {
            offerCell(output.x, output.y);
            SDEvent event;
            event.m_type = 1;
            event.m_time = SDTime(output.time);
            event.m_source = reference(output.x, output.y);
            event.m_destination = "cells";
            event.m_port = "out";
            event.m_value = output.value;
            link->offerEvent(event);
        }
    }
    void TearDown() override {
        link.reset();
        CommandTest::TearDown();
    }

    void offerCell(int x, int y) {
        SDCELLDevsModel record;
        record.setName("cells");
        record.setOrigin(kOrigin);
        record.appendOutputPort("out");
        // The first and last cells make the space 5 x 3 at once.
        record.ensureCell(static_cast<unsigned>(2 - kOrigin[0]), static_cast<unsigned>(1 - kOrigin[1]), 0);
        record.ensureCell(static_cast<unsigned>(x - kOrigin[0]), static_cast<unsigned>(y - kOrigin[1]), 0);
        link->offerModel(record);
        init("cells", reference(x, y));
    }
    void init(const std::string& parent, const std::string& child) {
        SDLogMessage message;
        message.kind = SDLogMessage::Kind::Init;
        message.source = parent;
        message.destination = child;
        link->offerMessage(message);
    }
    // The last line a command printed.
    std::string said(const std::string& line) {
        const Lines lines = run(line);
        return lines.empty() ? "" : lines.back();
    }
    SDCELLDevsModel* cells() {
        return dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel("cells"));
    }

    static constexpr std::array<int, 3> kOrigin{-2, -1, 0};
    VCSimulation* simulation = nullptr;
    std::unique_ptr<VCSimulationLink> link;
};

TEST_F(CellOriginTest, TheSpaceKeepsItsOriginAndRefusesAnOfferCountedFromAnotherCell) {
    ASSERT_NE(nullptr, cells());
    EXPECT_EQ(kOrigin, cells()->getOrigin());
    EXPECT_EQ((std::vector<unsigned>{5, 3, 1}),
              (std::vector<unsigned>{cells()->getWidth(), cells()->getHeight(), cells()->getLength()}));
    LogRecorder rec;
    SDCELLDevsModel shifted;
    shifted.setName("cells");
    shifted.ensureCell(9, 0, 0);
    link->offerModel(shifted);
    link->offerModel(shifted);
    EXPECT_EQ((Lines{"Refused CELL model cells from cell (0,0,0): its cells start at (-2,-1,0)"}),
              rec.lines());
    EXPECT_EQ(5u, cells()->getWidth()) << "nothing of the refused offers is taken, and they are told once";
    // Text coordinates are the run's: (-2,-1) is the first cell, (-3,0) lies below it.
    rec.clear();
    EXPECT_TRUE(cells()->acceptCell(-2, -1, 0));
    EXPECT_TRUE(cells()->acceptCell(3, 1, 0));
    EXPECT_EQ(6u, cells()->getWidth()) << "x up to 3: six cells from -2";
    EXPECT_FALSE(cells()->acceptCell(-3, 0, 0));
    EXPECT_EQ((Lines{"Refused cell (-3,0,0) of CELL model cells: below its first cell (-2,-1,0)"}),
              rec.lines());
}

// vis_cell at three times, read off kOutputs by hand: each cell's last output at or before the time.
TEST_F(CellOriginTest, VisCellTakesAndNamesTheRunsCoordinates) {
    struct Case {
        double time;
        const char* line;
        std::string expected;
    };
    const std::string outside = " is outside cells's 5x3x1 cells, (-2,-1,0) to (2,1,0)";
    const std::vector<Case> cases = {
        {0, "vis_cell cells -2 0", "cells(-2,0) = 3.000000 since 00:00:00:000"},
        {1000, "vis_cell cells -2 0", "cells(-2,0) = 4.000000 since 00:00:01:000"},
        {2500, "vis_cell cells -2 0", "cells(-2,0) = 8.000000 since 00:00:02:500"},
        {2500, "vis_cell cells -2 -1", "cells(-2,-1) = 1.000000 since 00:00:00:000"},
        {2500, "vis_cell cells 0 0", "cells(0,0) = 6.000000 since 00:00:01:000"},
        {2500, "vis_cell cells 2 1", "cells(2,1) = 7.000000 since 00:00:00:000"},
        {2500, "vis_cell cells 1 1", "cells(1,1) has no value yet"},
        {2500, "vis_cell cells 3 0", "Cell (3,0,0)" + outside},
        {2500, "vis_cell cells -3 0", "Cell (-3,0,0)" + outside},
        {2500, "vis_cell cells 0 -2", "Cell (0,-2,0)" + outside},
        {2500, "vis_cell cells 0 0 1", "Cell (0,0,1)" + outside},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        simulation->timeGoto(c.time);
        EXPECT_EQ(c.expected, said(c.line));
    }
}

// What vis_plot shows and vis_export writes: the cell's outputs by hand, under the run's name for it.
TEST_F(CellOriginTest, PlotsAndExportsReadTheCellTheRunNames) {
    struct Case {
        std::vector<std::string> words;
        std::string label;
        std::vector<double> times;
        std::vector<double> values;
    };
    const std::vector<Case> cases = {
        {{"cells", "-2", "0"}, "cells(-2,0)", {0, 1000, 2500}, {3, 4, 8}},
        {{"cells", "-2", "-1"}, "cells(-2,-1)", {0}, {1}},
        {{"cells", "0", "0"}, "cells(0,0)", {0, 1000}, {5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        VCSeriesTarget target;
        ASSERT_TRUE(VCSeriesTarget::parse(c.words, target));
        SDSeries series;
        std::string error;
        ASSERT_TRUE(target.fetch(series, error)) << error;
        EXPECT_EQ(c.label, series.label);
        EXPECT_EQ(c.times, series.times);
        EXPECT_EQ(c.values, series.values);
    }
    VCSeriesTarget outside;
    ASSERT_TRUE(VCSeriesTarget::parse({"cells", "3", "0"}, outside));
    SDSeries series;
    std::string error;
    EXPECT_FALSE(outside.fetch(series, error));
    EXPECT_EQ("Cell (3,0,0) is outside cells's 5x3x1 cells, (-2,-1,0) to (2,1,0)", error);

    TempDir dir;
    EXPECT_EQ("Exported 3 rows to " + dir.file("a.csv"), said("vis_export cells -2 0 " + dir.file("a.csv")));
    EXPECT_EQ(
        "time,time_ms,value\n"
        "00:00:00:000,0,3\n"
        "00:00:01:000,1000,4\n"
        "00:00:02:500,2500,8\n",
        readFile(dir.file("a.csv")));
}

// vis_slice takes the run's layer, negative ones included, and says it back; the layers of 0 stay as
// they were (z starts at 0 here).
TEST_F(CellOriginTest, VisSliceTakesAndNamesTheRunsLayers) {
    struct Case {
        const char* line;
        std::string expected;
        bool atParse;  // refused by the parser: its reply
    };
    const std::vector<Case> cases = {
        {"vis_slice cells x -2", "cells sliced at x = -2: 3 of its 15 cells", false},
        {"vis_slice cells x 2", "cells sliced at x = 2: 3 of its 15 cells", false},
        {"vis_slice cells y -1", "cells sliced at y = -1: 5 of its 15 cells", false},
        {"vis_slice cells y 1", "cells sliced at y = 1: 5 of its 15 cells", false},
        {"vis_slice cells x 3", "Slice refused: cells has x from -2 to 2, not 3", false},
        {"vis_slice cells x -3", "Slice refused: cells has x from -2 to 2, not -3", false},
        {"vis_slice cells y -02", "Slice refused: cells has y from -1 to 1, not -2", false},
        {"vis_slice cells z -1", "Slice refused: the layer is a whole number from 0, not -1", true},
        {"vis_slice cells x -", "Slice refused: the layer is a whole number from 0, not -", true},
        {"vis_slice cells off", "cells drawn whole: 15 cells", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.expected, c.atParse ? check(c.line) : said(c.line));
    }
    run("vis_slice cells y -1");
    EXPECT_EQ("y = -1 of -1..1", simulation->getCellView()->describeSlice("cells"));
    int axis = -1;
    unsigned layer = 9;
    ASSERT_TRUE(simulation->getCellView()->getSlice("cells", axis, layer));
    EXPECT_EQ(1, axis);
    EXPECT_EQ(0u, layer) << "stored from the first layer on";
}

}  // namespace
