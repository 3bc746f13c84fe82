#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "scene/SDDetailNodeCUBE.h"
#include "scene/SDSceneGraph.h"
#include "tests/scene/SceneTestSupport.h"
#include "tests/support/LogRecorder.h"

namespace {

std::unique_ptr<SDDetailNodeCUBE> cubeAt(const Vector3& centre, float size) {
    auto cube = std::make_unique<SDDetailNodeCUBE>();
    cube->setPosition(centre);
    cube->setSize(size);
    return cube;
}

TEST(SDSceneGraphTest, AddingCubesNumbersThemAndLogsEachStep) {
    SDSceneGraph graph;
    LogRecorder rec;
    EXPECT_EQ(0, graph.addNode(cubeAt(Vector3(100, 100, 100), 1)));
    EXPECT_EQ(1, graph.addNode(cubeAt(Vector3(-100, 100, 100), 1)));
    EXPECT_EQ(2, graph.addNode(cubeAt(Vector3(100, -100, 100), 1)));
    EXPECT_EQ(3, graph.getNodeList()->getNumNodes());
    EXPECT_EQ((std::vector<std::string>{
                  "Adding node to node list at position 0",
                  "Adding node to tree node with bounding box: Centre(400.000,400.000,400.000) "
                  "Dim(800.000,800.000,800.000)",
                  "Node added successfully to Scene graph",
                  "Adding node to node list at position 1",
                  "Adding node to tree node with bounding box: Centre(-400.000,400.000,400.000) "
                  "Dim(800.000,800.000,800.000)",
                  "Node added successfully to Scene graph",
                  "Adding node to node list at position 2",
                  "Adding node to tree node with bounding box: Centre(400.000,-400.000,400.000) "
                  "Dim(800.000,800.000,800.000)",
                  "Node added successfully to Scene graph",
              }),
              rec.lines());
    EXPECT_EQ(3, graph.getRoot()->getNodeCount());
}

TEST(SDSceneGraphTest, ANullNodeIsReportedInvalid) {
    SDSceneGraph graph;
    LogRecorder rec;
    EXPECT_EQ(-1, graph.addNode(nullptr));
    EXPECT_EQ(
        (std::vector<std::string>{"Adding node to node list at position -1",
                                  "Added an invalid nodeIndex to the scene graph. Perhaps node index is "
                                  "for a different node list"}),
        rec.lines());
    EXPECT_EQ(0, graph.getNodeList()->getNumNodes());
    EXPECT_EQ(0, graph.getRoot()->getNodeCount());
}

TEST(SDSceneGraphTest, WithoutAFrustumNothingIsDrawnOrSetUp) {
    SDSceneGraph graph;
    int draws = 0;
    graph.addNode(CountingNode::cube(Vector3(0, 0, 0), 1, &draws));
    std::uint64_t frame = currentSceneFrame();
    graph.render(nullptr);
    EXPECT_EQ(0, draws);
    EXPECT_EQ(frame, currentSceneFrame());
}

TEST(SDSceneGraphTest, DestructionRemovesTheOctreeBeforeTheNodes) {
    LogRecorder rec;
    {
        SDSceneGraph graph;
        graph.addNode(CountingNode::cube(Vector3(100, 100, 100), 1, nullptr, 0));
        graph.addNode(CountingNode::cube(Vector3(200, 100, 100), 1, nullptr, 1));
        rec.clear();
    }
    EXPECT_EQ((std::vector<std::string>{
                  "Deleting octtree at depth 1: Centre: (0.000, 0.000, 0.000) Dimensions: (12800.000, "
                  "12800.000, 12800.000)",
                  "Removed tree location from Scene node info",
                  "Removed tree location from Scene node info",
                  "Deleting scene node 0",
                  "node 0 destroyed",
                  "Deleting scene node 1",
                  "node 1 destroyed",
              }),
              rec.lines());
}

}  // namespace
