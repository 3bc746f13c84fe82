#pragma once

#include <array>
#include <memory>

#include "scene/BoundingBox.h"
#include "scene/SDTreeNode.h"

// A fixed-depth octree, built whole at construction (the root at depth 1 down to leaves at depth 5) and
// never restructured: insertion only chooses where an index is stored. A node that straddles centre
// planes is copied into every child octant it reaches, at most as often as its record's split level
// allows; after that it stays where it straddles.
class SDOctTreeNode : public SDTreeNode {
  public:
    static constexpr int kLeafDepth = 5;

    SDOctTreeNode(SDNodeList* nodeList, SDOctTreeNode* parent, const BoundingBox& box, int depth);
    ~SDOctTreeNode() override;
    // 0: an octree.
    int getTreeType() const override { return 0; }
    // The tree never restructures, so there is nothing to adjust.
    void setLeafCapacity(int) override {}
    // insertNode(index, 0).
    bool addNode(int index) override;
    // Erases the first occurrence of the index stored at this node (children are not searched).
    bool removeNode(int index) override;
    void render(const Frustum* frustum, int cullState) override;
    // False only when the index has no record or no node.
    virtual bool insertNode(int index, int splitLevel);
    virtual const BoundingBox& getBoundingBox() const { return m_boundingBox; }
    // Count of indices stored in this subtree, kept on the way up to the root.
    virtual void incrementCount();
    virtual void decrementCount();

    int getNodeCount() const { return m_nodeCount; }
    SDOctTreeNode* getParent() const { return m_parent; }
    // Null for a leaf; octants are numbered as BoundingBox corners.
    SDOctTreeNode* getChild(int octant) const;
    bool isLeaf() const { return !m_children[0]; }

  private:
    void storeHere(int index);

    int m_nodeCount = 0;
    SDOctTreeNode* m_parent;  // not owned
    std::array<std::unique_ptr<SDOctTreeNode>, 8> m_children;
    BoundingBox m_boundingBox;
};
