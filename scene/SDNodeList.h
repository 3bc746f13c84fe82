#pragma once

#include <memory>
#include <vector>

#include "scene/SDSceneNode.h"
#include "scene/SDSceneNodeInfo.h"

// Owns the registered scene nodes (through their records) and numbers them: an index is the position in
// registration order, starting at 0, and is never reused. Nothing is ever removed.
class SDNodeList {
  public:
    SDNodeList() = default;
    SDNodeList(const SDNodeList&) = delete;
    SDNodeList& operator=(const SDNodeList&) = delete;
    // Logs "Deleting scene node %d" for each record, in index order, as it deletes it.
    virtual ~SDNodeList();
    virtual int getNumNodes() const;
    // Null outside 0 .. count-1.
    virtual SDSceneNodeInfo* getNodeInfo(int index);
    // Takes ownership and returns the new index; -1 (and no change) for a null node.
    virtual int addNode(std::unique_ptr<SDSceneNode> node);

  private:
    std::vector<std::unique_ptr<SDSceneNodeInfo>> m_nodes;
};
