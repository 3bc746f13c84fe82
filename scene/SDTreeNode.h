#pragma once

#include <vector>

class Frustum;
class SDNodeList;

// A node of a spatial tree over the scene. It stores node-list indices, not nodes; the node list they
// refer to is shared, not owned, and must outlive the tree.
class SDTreeNode {
  public:
    SDTreeNode(SDNodeList* nodeList, int depth);
    SDTreeNode(const SDTreeNode&) = delete;
    SDTreeNode& operator=(const SDTreeNode&) = delete;
    // Takes this tree node out of the tree locations of every record whose index it holds.
    virtual ~SDTreeNode();
    // Which kind of tree this is.
    virtual int getTreeType() const = 0;
    // A hint for trees that restructure themselves when a node holds too many indices.
    virtual void setLeafCapacity(int capacity) = 0;
    virtual bool addNode(int index) = 0;
    virtual bool removeNode(int index) = 0;
    // cullState: 0 known to be inside the frustum, 1 must be tested, 2 outside.
    virtual void render(const Frustum* frustum, int cullState) = 0;

    SDNodeList* getNodeList() const { return m_nodeList; }
    const std::vector<int>& getNodeIndices() const { return m_nodeIndices; }
    int getDepth() const { return m_depth; }

  protected:
    SDNodeList* m_nodeList;
    std::vector<int> m_nodeIndices;  // in insertion order
    int m_depth;
};
