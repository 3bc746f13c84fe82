#pragma once

#include <memory>

#include "scene/SDNodeList.h"
#include "scene/SDOctTreeNode.h"
#include "scene/SDSceneNode.h"

class Frustum;

// Everything drawn in the 3D view of one visualization: the node list that owns and numbers the nodes
// and an octree over a fixed world box (centred on the origin, 12800 on each axis) that sorts them by
// position for culling.
class SDSceneGraph {
  public:
    static constexpr float kWorldSize = 12800.0f;

    SDSceneGraph();
    SDSceneGraph(const SDSceneGraph&) = delete;
    SDSceneGraph& operator=(const SDSceneGraph&) = delete;
    virtual ~SDSceneGraph();
    virtual SDNodeList* getNodeList();
    // The node's index, or -1 for a null node. The node list keeps a non-null node even when the octree
    // refuses its index.
    virtual int addNode(std::unique_ptr<SDSceneNode> node);
    // Lights the scene and draws what the frustum can see; the caller has loaded the camera's matrices.
    // Nothing is drawn without a frustum.
    virtual void render(Frustum* frustum);

    SDOctTreeNode* getRoot() { return m_root.get(); }

  private:
    std::unique_ptr<SDNodeList> m_nodeList;
    // Destroyed before the node list: octree nodes look up the records of the indices they hold.
    std::unique_ptr<SDOctTreeNode> m_root;
};
