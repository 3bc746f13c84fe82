#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "scene/SDNodeList.h"
#include "scene/SDOctTreeNode.h"
#include "scene/SDSceneGraph.h"
#include "tests/scene/SceneTestSupport.h"
#include "tests/support/LogRecorder.h"

namespace {

// The octree nodes that hold `index`, in depth-first octant order.
std::vector<SDOctTreeNode*> holders(SDOctTreeNode* root, int index) {
    std::vector<SDOctTreeNode*> found;
    forEachTreeNode(root, [&](SDOctTreeNode* node) {
        const std::vector<int>& indices = node->getNodeIndices();
        if (std::find(indices.begin(), indices.end(), index) != indices.end()) {
            found.push_back(node);
        }
    });
    return found;
}

std::vector<SDTreeNode*> asTreeNodes(const std::vector<SDOctTreeNode*>& nodes) {
    return std::vector<SDTreeNode*>(nodes.begin(), nodes.end());
}

class OctTreeTest : public ::testing::Test {
  protected:
    int add(std::unique_ptr<SDSceneNode> node) { return graph.addNode(std::move(node)); }
    SDOctTreeNode* root() { return graph.getRoot(); }
    SDSceneNodeInfo* info(int index) { return graph.getNodeList()->getNodeInfo(index); }

    SDSceneGraph graph;
};

TEST(OctTreeBuildTest, IsBuiltWholeToDepthFiveAndOnlyTheRootLogs) {
    LogRecorder rec;
    SDNodeList list;
    {
        SDOctTreeNode root(&list, nullptr, BoundingBox(Vector3(0, 0, 0), Vector3(12800, 12800, 12800)), 1);
        int count = 0;
        int leaves = 0;
        forEachTreeNode(&root, [&](SDOctTreeNode* node) {
            ++count;
            if (node->isLeaf()) {
                ++leaves;
                EXPECT_EQ(5, node->getDepth());
                EXPECT_FLOAT_EQ(800, node->getBoundingBox().getDimensions().x);
            }
        });
        EXPECT_EQ(4681, count);
        EXPECT_EQ(4096, leaves);
        // Children in octant order: octant 6 is high x, high y, low z.
        SDOctTreeNode* child = root.getChild(6);
        EXPECT_EQ(&root, child->getParent());
        EXPECT_EQ(2, child->getDepth());
        EXPECT_EQ("{0.0,0.0,-6400.0} -> {6400.0,6400.0,0.0}", child->getBoundingBox().print());
        EXPECT_EQ(nullptr, root.getChild(8));
        EXPECT_EQ(0, root.getTreeType());
    }
    EXPECT_EQ((std::vector<std::string>{
                  "Created octtree at depth 1: Centre: (0.000, 0.000, 0.000) Dimensions: (12800.000, "
                  "12800.000, 12800.000)",
                  "Deleting octtree at depth 1: Centre: (0.000, 0.000, 0.000) Dimensions: (12800.000, "
                  "12800.000, 12800.000)"}),
              rec.lines());
}

TEST_F(OctTreeTest, ANodeInsideOneLeafIsStoredThereOnceAndCountedUpTheTree) {
    LogRecorder rec;
    int index = add(CountingNode::cube(Vector3(100, 100, 100), 10));
    std::vector<SDOctTreeNode*> at = holders(root(), index);
    ASSERT_EQ(1u, at.size());
    SDOctTreeNode* leaf = at[0];
    EXPECT_EQ(5, leaf->getDepth());
    EXPECT_EQ("{0.0,0.0,0.0} -> {800.0,800.0,800.0}", leaf->getBoundingBox().print());
    for (SDOctTreeNode* n = leaf; n != nullptr; n = n->getParent()) {
        EXPECT_EQ(1, n->getNodeCount()) << "depth " << n->getDepth();
    }
    EXPECT_EQ(0, root()->getChild(0)->getNodeCount());
    EXPECT_EQ(asTreeNodes(at), info(index)->getTreeLocations());
    EXPECT_EQ(1u, rec.count("Adding node to tree node with bounding box: Centre(400.000,400.000,400.000) "
                            "Dim(800.000,800.000,800.000)"));
}

TEST_F(OctTreeTest, ASmallNodeAtTheOriginGoesIntoTheEightLeavesMeetingThere) {
    int index = add(CountingNode::cube(Vector3(0, 0, 0), 10));
    std::vector<SDOctTreeNode*> at = holders(root(), index);
    ASSERT_EQ(8u, at.size());
    for (int i = 0; i < 8; ++i) {
        SDOctTreeNode* leaf = at[static_cast<size_t>(i)];
        EXPECT_EQ(5, leaf->getDepth());
        const Vector3& c = leaf->getBoundingBox().getCentre();
        // Depth-first octant order meets the leaves in octant order too.
        EXPECT_EQ(Vector3((i & 4) ? 400 : -400, (i & 2) ? 400 : -400, (i & 1) ? 400 : -400), c);
        EXPECT_EQ(1, root()->getChild(i)->getNodeCount());
    }
    EXPECT_EQ(8, root()->getNodeCount());
    EXPECT_EQ(8u, info(index)->getTreeLocations().size());
}

TEST_F(OctTreeTest, StraddlingSplitsTwiceAndThenStaysWhereItStraddles) {
    // Edge 8000 around the origin: straddles the root, then each depth-2 child, then the depth-3 nodes
    // around (±1600, ±1600, ±1600).
    int index = add(CountingNode::cube(Vector3(0, 0, 0), 8000));
    std::vector<SDOctTreeNode*> at = holders(root(), index);
    int byDepth[6] = {};
    for (SDOctTreeNode* n : at) {
        ++byDepth[n->getDepth()];
    }
    // In each depth-2 child, 7 of its 8 children are straddled at the split limit; the one lying wholly
    // beyond the box's edge plane leads down to a single leaf.
    EXPECT_EQ(0, byDepth[1]);
    EXPECT_EQ(0, byDepth[2]);
    EXPECT_EQ(56, byDepth[3]);
    EXPECT_EQ(0, byDepth[4]);
    EXPECT_EQ(8, byDepth[5]);
    EXPECT_EQ(64, root()->getNodeCount());
    EXPECT_EQ(64u, info(index)->getTreeLocations().size());
}

TEST_F(OctTreeTest, AFlatNodeOnACentrePlaneIsStoredWhereItLies) {
    // Flat in x on the root's x plane: it reaches no octant, and must not get lost.
    int a = add(std::make_unique<CountingNode>(Vector3(0, 10, 10), Vector3(0, 20, 20)));
    std::vector<SDOctTreeNode*> at = holders(root(), a);
    ASSERT_EQ(1u, at.size());
    EXPECT_EQ(root(), at[0]);

    // Flat on the x plane of the depth-2 node in octant 7.
    int b = add(std::make_unique<CountingNode>(Vector3(3200, 10, 10), Vector3(3200, 20, 20)));
    at = holders(root(), b);
    ASSERT_EQ(1u, at.size());
    EXPECT_EQ(root()->getChild(7), at[0]);

    // Straddling y and z at the root, flat on x of each depth-2 node afterwards.
    int c = add(std::make_unique<CountingNode>(Vector3(3200, -10, -10), Vector3(3200, 10, 10)));
    at = holders(root(), c);
    ASSERT_EQ(4u, at.size());
    for (SDOctTreeNode* n : at) {
        EXPECT_EQ(2, n->getDepth());
        EXPECT_FLOAT_EQ(3200, n->getBoundingBox().getCentre().x);
    }
    EXPECT_EQ(6, root()->getNodeCount());
}

TEST_F(OctTreeTest, ANodeOutsideTheWorldBoxDescendsToTheNearestLeaf) {
    int index = add(CountingNode::cube(Vector3(10000, 100, 100), 1));
    std::vector<SDOctTreeNode*> at = holders(root(), index);
    ASSERT_EQ(1u, at.size());
    EXPECT_EQ("{5600.0,0.0,0.0} -> {6400.0,800.0,800.0}", at[0]->getBoundingBox().print());
}

TEST_F(OctTreeTest, InsertingAnUnknownIndexIsRefused) {
    LogRecorder rec;
    EXPECT_FALSE(root()->addNode(0));
    EXPECT_FALSE(root()->insertNode(-1, 0));
    EXPECT_EQ(2u, rec.count("Unable to retrieve node object from node list index"));
    EXPECT_EQ(0, root()->getNodeCount());
}

TEST_F(OctTreeTest, RemoveNodeLooksOnlyAtTheNodeItselfAndUpdatesCounts) {
    int index = add(CountingNode::cube(Vector3(100, 100, 100), 10));
    SDOctTreeNode* leaf = holders(root(), index).at(0);
    EXPECT_FALSE(root()->removeNode(index));
    EXPECT_EQ(1, root()->getNodeCount());
    EXPECT_TRUE(leaf->removeNode(index));
    for (SDOctTreeNode* n = leaf; n != nullptr; n = n->getParent()) {
        EXPECT_EQ(0, n->getNodeCount());
    }
    EXPECT_TRUE(leaf->getNodeIndices().empty());
    EXPECT_FALSE(leaf->removeNode(index));
}

TEST_F(OctTreeTest, CullingSkipsEmptyAndInvisibleSubtreesAndTestsInsideOnesOnce) {
    int draws = 0;
    add(CountingNode::cube(Vector3(100, 100, 100), 10, &draws));
    add(CountingNode::cube(Vector3(-3000, 100, 100), 10, &draws));

    CountingFrustum frustum;
    // Nothing of the root box: one test, nothing drawn.
    setBoxFrustum(frustum, Vector3(7000, 7000, 7000), Vector3(8000, 8000, 8000));
    advanceSceneFrame();
    root()->render(&frustum, 1);
    EXPECT_EQ(1, frustum.m_tests);
    EXPECT_EQ(0, draws);

    // The whole root box: inside at the first test, never tested again.
    frustum.m_tests = 0;
    setBoxFrustum(frustum, Vector3(-7000, -7000, -7000), Vector3(7000, 7000, 7000));
    advanceSceneFrame();
    root()->render(&frustum, 1);
    EXPECT_EQ(1, frustum.m_tests);
    EXPECT_EQ(2, draws);

    // Only the x >= 0 half (starting off the centre plane, so the x < 0 boxes lie wholly behind it):
    // the root, both non-empty depth-2 nodes (one of them culled) and one node on each deeper level.
    frustum.m_tests = 0;
    draws = 0;
    setBoxFrustum(frustum, Vector3(50, -7000, -7000), Vector3(7000, 7000, 7000));
    advanceSceneFrame();
    root()->render(&frustum, 1);
    EXPECT_EQ(1, draws);
    EXPECT_EQ(1 + 2 + 1 + 1 + 1, frustum.m_tests);

    // A subtree handed down as outside draws nothing; so does a missing frustum.
    advanceSceneFrame();
    root()->render(&frustum, 2);
    root()->render(nullptr, 1);
    EXPECT_EQ(1, draws);
}

TEST_F(OctTreeTest, CullingUsesTheBoxesOfTheTreeNodesNotOfTheNodes) {
    int draws = 0;
    add(CountingNode::cube(Vector3(10000, 100, 100), 1, &draws));
    Frustum frustum;
    // Sees the node itself but not the leaf that holds it.
    setBoxFrustum(frustum, Vector3(9990, 90, 90), Vector3(10010, 110, 110));
    advanceSceneFrame();
    root()->render(&frustum, 1);
    EXPECT_EQ(0, draws);
    // Sees the leaf but not the node.
    setBoxFrustum(frustum, Vector3(5000, 0, 0), Vector3(5700, 800, 800));
    advanceSceneFrame();
    root()->render(&frustum, 1);
    EXPECT_EQ(1, draws);
}

TEST_F(OctTreeTest, ANodeStoredInSeveralTreeNodesIsDrawnOncePerFrame) {
    int draws = 0;
    int hiddenDraws = 0;
    add(CountingNode::cube(Vector3(0, 0, 0), 10, &draws));
    int hidden = add(CountingNode::cube(Vector3(1, 1, 1), 10, &hiddenDraws));
    info(hidden)->getNode()->m_show = false;
    Frustum frustum;
    setBoxFrustum(frustum, Vector3(-7000, -7000, -7000), Vector3(7000, 7000, 7000));
    for (int frame = 1; frame <= 3; ++frame) {
        advanceSceneFrame();
        root()->render(&frustum, 1);
        EXPECT_EQ(frame, draws);
    }
    EXPECT_EQ(0, hiddenDraws);
}

TEST(OctTreeDestroyTest, DestroyingTheTreeEmptiesTheRecordsBeforeTheListGoes) {
    LogRecorder rec;
    SDNodeList list;
    int index = list.addNode(CountingNode::cube(Vector3(0, 0, 0), 10));
    {
        SDOctTreeNode root(&list, nullptr, BoundingBox(Vector3(0, 0, 0), Vector3(12800, 12800, 12800)), 1);
        EXPECT_TRUE(root.addNode(index));
        EXPECT_EQ(8u, list.getNodeInfo(index)->getTreeLocations().size());
        rec.clear();
    }
    EXPECT_TRUE(list.getNodeInfo(index)->getTreeLocations().empty());
    std::vector<std::string> expected = {
        "Deleting octtree at depth 1: Centre: (0.000, 0.000, 0.000) Dimensions: (12800.000, 12800.000, "
        "12800.000)"};
    expected.insert(expected.end(), 8, "Removed tree location from Scene node info");
    EXPECT_EQ(expected, rec.lines());
}

}  // namespace
