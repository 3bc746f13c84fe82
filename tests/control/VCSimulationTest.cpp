// The simulation controller: its two states, refusals, imports and detail nodes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/VCModelList.h"
#include "control/VCSimulation.h"
#include "scene/SDDetailNodeCUBE.h"
#include "scene/SDSceneGraph.h"
#include "shell/EngineVariables.h"
#include "shell/PropertySet.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kRefusal = "Cannot create new visualization. Please close open visualization first";
const std::string kSample = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";

PropertySet cubeProperties(const std::string& type) {
    PropertySet properties;
    properties.set("type", type);
    properties.set("position_x", "1.5");
    properties.set("position_y", "-2.250000");
    properties.set("position_z", "0.123456");
    properties.set("size", "2");
    return properties;
}

class VCSimulationTest : public ::testing::Test {
  protected:
    LogRecorder rec;
    VCSimulation simulation;
};

TEST_F(VCSimulationTest, OpensOneVisualizationAndRefusesASecond) {
    EXPECT_EQ(nullptr, getVisualization());
    EXPECT_EQ(nullptr, simulation.getModelList());
    ASSERT_TRUE(simulation.newVisualization("first"));
    SDVisualization* first = getVisualization();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ("first", first->getName());
    EXPECT_EQ(first->getModelList(), simulation.getModelList()->getModelList());

    // The refusal is printed into the console, not logged: with the log's console channel off it still
    // arrives.
    getEngineVariables()->setBool("console_logging", false);
    rec.clear();
    EXPECT_FALSE(simulation.newVisualization("second"));
    EXPECT_EQ((Lines{kRefusal}), rec.lines());
    EXPECT_EQ(first, getVisualization());
    EXPECT_EQ("first", first->getName());
}

TEST_F(VCSimulationTest, ClosingWithNothingOpenDoesNothing) {
    simulation.closeVisualization();
    ASSERT_TRUE(simulation.newVisualization("v"));
    simulation.closeVisualization();
    EXPECT_EQ(nullptr, getVisualization());
    EXPECT_EQ(nullptr, simulation.getModelList());
    EXPECT_EQ(nullptr, simulation.getEventList());
    EXPECT_EQ(nullptr, simulation.getSceneGraph());
    rec.clear();
    simulation.closeVisualization();
    EXPECT_TRUE(rec.lines().empty()) << rec.text();
    // And a new one can be opened after a close.
    EXPECT_TRUE(simulation.newVisualization("again"));
}

TEST_F(VCSimulationTest, WithoutAVisualizationImportAndDetailNodesFail) {
    ASSERT_TRUE(simulation.newVisualization("v"));
    simulation.closeVisualization();
    rec.clear();
    EXPECT_FALSE(simulation.importLogFile(kSample));
    EXPECT_EQ(-1, simulation.addDetailNode(cubeProperties("CUBE")));
    EXPECT_EQ((Lines{"Unable to import from log file: no visualization currently exists.",
                     "No scene graph created."}),
              rec.lines());
}

TEST_F(VCSimulationTest, DetailNodesTakeTheirPlaceFromText) {
    ASSERT_TRUE(simulation.newVisualization("v"));
    rec.clear();
    EXPECT_EQ(-1, simulation.addDetailNode(cubeProperties("cube")));
    EXPECT_EQ(-1, simulation.addDetailNode(PropertySet()));
    EXPECT_TRUE(rec.lines().empty()) << rec.text();

    EXPECT_EQ(0, simulation.addDetailNode(cubeProperties("CUBE")));
    PropertySet bare;
    bare.set("type", "CUBE");
    EXPECT_EQ(1, simulation.addDetailNode(bare));

    SDNodeList* nodes = getVisualization()->getSceneGraph()->getNodeList();
    ASSERT_EQ(2, nodes->getNumNodes());
    auto* cube = dynamic_cast<SDDetailNodeCUBE*>(nodes->getNodeInfo(0)->getNode());
    ASSERT_NE(nullptr, cube);
    EXPECT_EQ(1.5f, cube->getBoundingBox().getCentre().x);
    EXPECT_EQ(-2.25f, cube->getBoundingBox().getCentre().y);
    EXPECT_EQ(0.123456f, cube->getBoundingBox().getCentre().z);
    EXPECT_EQ(2.0f, cube->getBoundingBox().getDimensions().x);
    // Absent values read as 0.
    auto* origin = dynamic_cast<SDDetailNodeCUBE*>(nodes->getNodeInfo(1)->getNode());
    ASSERT_NE(nullptr, origin);
    EXPECT_EQ(Vector3(0, 0, 0), origin->getBoundingBox().getCentre());
    EXPECT_EQ(0.0f, origin->getBoundingBox().getDimensions().x);
}

TEST_F(VCSimulationTest, ImportsTheSampleLogAndAddsItsEventsAgainOnASecondImport) {
    ASSERT_TRUE(simulation.newVisualization("life"));
    ASSERT_TRUE(simulation.importLogFile(kSample));
    SDDevsModelList* models = getVisualization()->getModelList();
    // Only the cells and their cell space exchange messages.
    EXPECT_EQ(1u, models->size());
    auto* life = dynamic_cast<SDCELLDevsModel*>(models->findModel("life"));
    ASSERT_NE(nullptr, life);
    EXPECT_EQ(20u, life->getWidth());
    EXPECT_EQ(20u, life->getHeight());
    EXPECT_EQ(1u, life->getLength());
    EXPECT_EQ((Lines{"neighborchange"}), life->getInputPorts());
    EXPECT_EQ((Lines{"out"}), life->getOutputPorts());
    // 4,472 external and 559 output messages.
    EXPECT_EQ(5031u, getVisualization()->getEventList()->size());

    ASSERT_TRUE(simulation.importLogFile(kSample));
    EXPECT_EQ(1u, models->size());
    EXPECT_EQ(life, models->findModel("life"));
    EXPECT_EQ(10062u, getVisualization()->getEventList()->size());
}

TEST_F(VCSimulationTest, TimeStepsAreLoggedOnlyWithAVisualization) {
    simulation.incrementTime(1500.0);
    EXPECT_TRUE(rec.lines().empty());
    ASSERT_TRUE(simulation.newVisualization("v"));
    rec.clear();
    simulation.incrementTime(1500.0);
    simulation.decrementTime(61001.0);
    EXPECT_EQ((Lines{"Time incremented to: 00:00:01:500", "Time decremented to: 00:01:01:001"}), rec.lines());
}

TEST(VCSimulationGlobalsTest, TheProcessWideControllerClosesItsVisualizationWhenDestroyed) {
    LogRecorder rec;
    EXPECT_EQ(nullptr, getSimulation());
    VCSimulation* simulation = createSimulation();
    ASSERT_NE(nullptr, simulation);
    EXPECT_EQ(simulation, createSimulation());
    EXPECT_EQ(simulation, getSimulation());
    ASSERT_TRUE(simulation->newVisualization("v"));
    destroySimulation();
    EXPECT_EQ(nullptr, getSimulation());
    EXPECT_EQ(nullptr, getVisualization());
    destroySimulation();
}

}  // namespace
