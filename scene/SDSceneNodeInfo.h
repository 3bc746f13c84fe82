#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "scene/SDSceneNode.h"

class SDTreeNode;

// The node list's record for one registered node: owns the node and remembers which octree nodes hold its
// index, so that an octree node being destroyed can take itself out again.
class SDSceneNodeInfo {
  public:
    explicit SDSceneNodeInfo(std::unique_ptr<SDSceneNode> node);
    SDSceneNodeInfo(const SDSceneNodeInfo&) = delete;
    SDSceneNodeInfo& operator=(const SDSceneNodeInfo&) = delete;
    virtual ~SDSceneNodeInfo();

    SDSceneNode* getNode() const { return m_node.get(); }

    // Ignores a null tree node.
    void addTreeLocation(SDTreeNode* treeNode);
    // Erases the first entry equal to `treeNode`; false (and nothing logged) when there is none.
    bool removeTreeLocation(SDTreeNode* treeNode);
    const std::vector<SDTreeNode*>& getTreeLocations() const { return m_treeLocations; }

    int getMaxSplitLevel() const { return m_maxSplitLevel; }
    std::uint64_t getFrameStamp() const { return m_frameStamp; }

    // Draws the node (if shown) unless it was already drawn in the current frame: a node stored in several
    // visible octree nodes must not be drawn, and blended, more than once per frame.
    void drawOnce();

  private:
    std::unique_ptr<SDSceneNode> m_node;
    std::vector<SDTreeNode*> m_treeLocations;  // not owned
    int m_maxSplitLevel = 2;
    std::uint64_t m_frameStamp = 0;  // frame numbers start at 1, so 0 is "never drawn"
};

// The process-wide frame number that drawOnce compares against. The scene graph advances it once per
// rendered frame.
std::uint64_t currentSceneFrame();
void advanceSceneFrame();
