#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "scene/SDNodeList.h"
#include "scene/SDSceneNodeInfo.h"
#include "tests/scene/SceneTestSupport.h"
#include "tests/support/LogRecorder.h"

namespace {

std::unique_ptr<CountingNode> unitNode(int* draws = nullptr, int id = -1) {
    return CountingNode::cube(Vector3(), 1, draws, id);
}

// Tree nodes are only compared by address here; these never get dereferenced.
SDTreeNode* fakeTreeNode(int n) {
    return reinterpret_cast<SDTreeNode*>(static_cast<intptr_t>(0x1000 * n));
}

TEST(SDSceneNodeTest, PrintAndDrawIfShownFollowShowFlag) {
    int draws = 0;
    CountingNode node(Vector3(), Vector3(1, 1, 1), &draws);
    EXPECT_TRUE(node.m_show);
    EXPECT_EQ("m_show = true", node.print());
    node.drawIfShown();
    EXPECT_EQ(1, draws);
    node.m_show = false;
    EXPECT_EQ("m_show = false", node.print());
    node.drawIfShown();
    EXPECT_EQ(1, draws);
}

TEST(SDNodeListTest, IndicesCountUpFromZeroAndNullIsRefused) {
    SDNodeList list;
    EXPECT_EQ(0, list.getNumNodes());
    auto first = unitNode();
    SDSceneNode* firstRaw = first.get();
    EXPECT_EQ(0, list.addNode(std::move(first)));
    EXPECT_EQ(-1, list.addNode(nullptr));
    EXPECT_EQ(1, list.getNumNodes());
    EXPECT_EQ(1, list.addNode(unitNode()));
    EXPECT_EQ(2, list.addNode(unitNode()));
    EXPECT_EQ(3, list.getNumNodes());

    ASSERT_NE(nullptr, list.getNodeInfo(0));
    EXPECT_EQ(firstRaw, list.getNodeInfo(0)->getNode());
    EXPECT_EQ(2, list.getNodeInfo(0)->getMaxSplitLevel());
    EXPECT_TRUE(list.getNodeInfo(0)->getTreeLocations().empty());
    EXPECT_EQ(nullptr, list.getNodeInfo(-1));
    EXPECT_EQ(nullptr, list.getNodeInfo(3));
}

TEST(SDNodeListTest, DestructionDeletesEachNodeInIndexOrderAfterItsLine) {
    LogRecorder rec;
    {
        SDNodeList list;
        for (int i = 0; i < 3; ++i) {
            list.addNode(unitNode(nullptr, i));
        }
    }
    EXPECT_EQ((std::vector<std::string>{"Deleting scene node 0", "node 0 destroyed", "Deleting scene node 1",
                                        "node 1 destroyed", "Deleting scene node 2", "node 2 destroyed"}),
              rec.lines());
}

TEST(SDSceneNodeInfoTest, TreeLocationsAddAndRemoveOneEntryAtATime) {
    LogRecorder rec;
    SDSceneNodeInfo info(unitNode());
    info.addTreeLocation(fakeTreeNode(1));
    info.addTreeLocation(nullptr);
    info.addTreeLocation(fakeTreeNode(2));
    info.addTreeLocation(fakeTreeNode(1));
    EXPECT_EQ(3u, info.getTreeLocations().size());

    EXPECT_FALSE(info.removeTreeLocation(fakeTreeNode(3)));
    EXPECT_EQ(0u, rec.lines().size());

    EXPECT_TRUE(info.removeTreeLocation(fakeTreeNode(1)));
    EXPECT_EQ((std::vector<SDTreeNode*>{fakeTreeNode(2), fakeTreeNode(1)}), info.getTreeLocations());
    EXPECT_EQ((std::vector<std::string>{"Removed tree location from Scene node info"}), rec.lines());
}

TEST(SDSceneNodeInfoTest, DrawOnceDrawsAShownNodeAtMostOncePerFrame) {
    int draws = 0;
    SDSceneNodeInfo info(unitNode(&draws));
    info.drawOnce();
    info.drawOnce();
    EXPECT_EQ(1, draws);
    EXPECT_EQ(currentSceneFrame(), info.getFrameStamp());

    advanceSceneFrame();
    info.drawOnce();
    info.drawOnce();
    EXPECT_EQ(2, draws);

    advanceSceneFrame();
    info.getNode()->m_show = false;
    info.drawOnce();
    EXPECT_EQ(2, draws);

    SDSceneNodeInfo empty(nullptr);
    empty.drawOnce();  // nothing to draw, and no crash
    EXPECT_EQ(nullptr, empty.getNode());
}

}  // namespace
