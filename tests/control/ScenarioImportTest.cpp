// A grid scenario read beside a run: before a message log it gives the run's space its size and initial
// values; after one it goes to the run's only space; a run's reader finds the space it declared.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "control/VCSimulation.h"
#include "control/VCSimulationLink.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

// Cell fire(1,1) turns 5 at one second; no other cell reports.
const char* const kLog =
    "msg Y / 00:00:01:000 / fire(1,1)(05) / out /      5.00000 to fire(02)\n"
    "msg D / 00:00:01:000 / fire(1,1)(05) / ... to fire(02)\n";

// 3x3, every cell 2 but (0,2), which is 9; the second field is 40 and 41.
std::string scenario(const std::string& model) {
    return R"({"scenario":{"shape":[3,3],"wrapped":true},
        "cells":{"default":{"model":")" +
           model + R"(","state":{"t":2,"fuel":40}},"hot":{"state":{"t":9,"fuel":41},"cell_map":[[0,2]]}},
        "viewer":[{"field":"t","breaks":[0,5,10],"colors":[[0,0,0],[255,0,0]]}]})";
}

class ScenarioImportTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(simulation.newVisualization("run")); }
    void TearDown() override { simulation.closeVisualization(); }

    SDCELLDevsModel* space(const std::string& name) const {
        return dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel(name));
    }
    // The value cell (x, y) of a 3x3 space shows at the cursor; -1 for none.
    double shown(SDCELLDevsModel& cells, unsigned x, unsigned y) {
        SDCellValues& values = cells.getValues();
        const size_t index = x * 3 + y;
        return values.hasValue(index) ? values.value(index) : -1.0;
    }

    TempDir dir;
    VCSimulation simulation;
};

TEST_F(ScenarioImportTest, TheRunsSpaceStartsWithTheScenariosValuesInEitherOrder) {
    struct Case {
        bool scenarioFirst;
        std::string model;  // named in the scenario
        std::string moved;  // the line saying the space keeps its name, if any
    };
    const std::vector<Case> cases = {
        {true, "fire", ""},
        {false, "fire", ""},
        {false, "forest", "the cell space fire keeps its name; the scenario calls it forest"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.scenarioFirst) + " " + c.model);
        simulation.closeVisualization();
        ASSERT_TRUE(simulation.newVisualization("run"));
        LogRecorder rec;
        const std::string log = dir.write("run.log", kLog);
        const std::string json = dir.write("run.json", scenario(c.model));
        for (int i : {0, 1}) {
            ASSERT_TRUE(i == c.scenarioFirst ? simulation.importLogFile(log)
                                             : simulation.importModelFile(json))
                << rec.text();
        }
        if (!c.moved.empty()) {
            EXPECT_TRUE(rec.contains("Scenario file " + json + ": " + c.moved)) << rec.text();
        }
        EXPECT_TRUE(
            rec.contains("Model fire: Cell-DEVS, dim 3x3, initial value 2, initial values of 1 cell, "
                         "wrapped"))
            << rec.text();
        EXPECT_TRUE(rec.contains("Palette " + json + " (t): 2 colour rules for fire")) << rec.text();
        EXPECT_EQ(nullptr, space("forest"));
        SDCELLDevsModel* fire = space("fire");
        ASSERT_NE(nullptr, fire);
        // (1,1) and (0,2) at 0 and at one second; then the other field of the states at 0.
        std::vector<double> got;
        for (double ms : {0.0, 1000.0}) {
            simulation.timeGoto(ms);
            got.insert(got.end(), {shown(*fire, 1, 1), shown(*fire, 0, 2)});
        }
        EXPECT_EQ(std::vector<std::string>{"Field of fire: number 1 of each state"},
                  simulation.chooseField("fire", 1));
        simulation.timeGoto(0.0);
        got.insert(got.end(), {shown(*fire, 1, 1), shown(*fire, 0, 2)});
        EXPECT_EQ((std::vector<double>{2, 9, 5, 9, 40, 41}), got);
    }
}

TEST_F(ScenarioImportTest, ARunsReaderFindsTheOneDeclaredSpace) {
    struct Case {
        std::vector<std::string> files;  // read in order
        bool found;
        std::string name;
        std::array<int, 3> origin;
    };
    const std::string negative = dir.write(
        "neg.json", R"({"scenario":{"shape":[4,4],"origin":[-2,-1]},"cells":{"default":{"model":"sir"}}})");
    const std::string model = dir.write("plane.ma", "[plane]\ndim : (2,2)\n");
    const std::string log = dir.write("run.log", kLog);
    const std::vector<Case> cases = {
        {{}, false, "", {}},    {{negative}, true, "sir", {-2, -1, 0}}, {{model}, true, "plane", {0, 0, 0}},
        {{log}, false, "", {}}, {{negative, model}, false, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files.size());
        simulation.closeVisualization();
        ASSERT_TRUE(simulation.newVisualization("run"));
        for (const std::string& file : c.files) {
            ASSERT_TRUE(file == log ? simulation.importLogFile(file) : simulation.importModelFile(file));
        }
        VCSimulationLink link(simulation.getModelList(), simulation.getEventList());
        std::string name;
        std::array<int, 3> origin{7, 7, 7};
        EXPECT_EQ(c.found, link.declaredCellSpace(name, origin));
        if (c.found) {
            EXPECT_EQ(c.name, name);
            EXPECT_EQ(c.origin, origin);
        }
    }
}

}  // namespace
