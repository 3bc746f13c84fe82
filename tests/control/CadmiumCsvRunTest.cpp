// A generated Cell-DEVS run logged in separated values, imported as the console imports it: its models,
// the space's spread and the stepper's ticks, and which of a time's rows a cell holds. (Each cell's points
// against the stepped field are checked by the program run of a large field.)
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "control/VCSeriesTarget.h"
#include "control/VCSimulation.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDSeries.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"
#include "tools/CadmiumCsvLog.h"

namespace {

using Words = std::vector<std::string>;

class CadmiumCsvRunTest : public ::testing::Test {
  protected:
    SDSeries fetch(const Words& words) {
        VCSeriesTarget target;
        EXPECT_TRUE(VCSeriesTarget::parse(words, target));
        SDSeries series;
        std::string error;
        EXPECT_TRUE(target.fetch(series, error)) << error;
        return series;
    }
    LogRecorder log;
    TempDir dir;
    VCSimulation simulation;
};

TEST_F(CadmiumCsvRunTest, TheSpaceSpansItsHeldCornersAndTheStepperTicks) {
    CadmiumCsvOptions options;
    options.field.width = 5;
    options.field.height = 4;
    options.field.steps = 3;
    options.field.sources = 0;
    options.field.quantum = 0.5;
    const std::string path = dir.file("heat.csv");
    {
        std::ofstream out(path);
        ASSERT_TRUE(writeCadmiumCsvLog(options, out));
    }
    ASSERT_TRUE(simulation.newVisualization("heat"));
    ASSERT_TRUE(simulation.importLogFile(path)) << log.text();
    SDDevsModelList& models = *getVisualization()->getModelList();
    auto* cells = dynamic_cast<SDCELLDevsModel*>(models.findModel("cells"));
    ASSERT_NE(nullptr, cells);
    EXPECT_EQ("5x4", std::to_string(cells->getWidth()) + "x" + std::to_string(cells->getHeight()));
    ASSERT_NE(nullptr, models.findModel("heat"));

    // The corners are held at 100 and -50 throughout: the space spans them at every time.
    const SDSeries spread = fetch({"cells"});
    ASSERT_EQ(4u, spread.size());
    for (size_t i = 0; i < spread.size(); ++i) {
        EXPECT_EQ(-50.0, spread.minimum[i]);
        EXPECT_EQ(100.0, spread.maximum[i]);
    }
    const SDSeries ticks = fetch({"stepper.tick"});
    EXPECT_EQ((std::vector<double>{100, 200, 300}), ticks.times);
    EXPECT_EQ((std::vector<double>{1, 2, 3}), ticks.values);
}

// Rows of one time keep their order: a cell holds its last state row at or before a time.
TEST_F(CadmiumCsvRunTest, ACellHoldsItsLastStateRowOfATime) {
    struct Case {
        const char* rows;
        std::vector<double> times;
        std::vector<double> values;
    };
    const Case cases[] = {
        {"0;1;(0,0);;1\n1;1;(0,0);out;9\n1;1;(0,0);;2\n2;1;(0,0);;none\n", {0, 1000}, {1, 2}},
        {"0;1;(0,0);;1\n0;2;(1,0);;4\n1;2;(1,0);;6\n1;1;(0,0);;7\n1;1;(0,0);;8\n1;2;(1,0);;0\n",
         {0, 1000},
         {1, 8}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string path = dir.write("order" + std::to_string(n++) + ".csv",
                                           "time;model_id;model_name;port_name;data\n" + std::string(c.rows));
        ASSERT_TRUE(simulation.newVisualization("order"));
        ASSERT_TRUE(simulation.importLogFile(path)) << log.text();
        const SDSeries series = fetch({"cells", "0", "0"});
        EXPECT_EQ(c.times, series.times) << c.rows;
        EXPECT_EQ(c.values, series.values) << c.rows;
        simulation.closeVisualization();
    }
}

}  // namespace
