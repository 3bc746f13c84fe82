#pragma once

#include <array>
#include <string>

#include "scene/BoundingBox.h"
#include "scene/Vector3.h"

// Everything the 3D view can draw. Nodes are registered in a node list (SDNodeList), which owns them and
// gives each a permanent index; the octree stores only those indices.
class SDSceneNode {
  public:
    SDSceneNode() = default;

    // Issues the node's OpenGL drawing. Callers normally go through drawIfShown.
    virtual void draw() = 0;
    virtual ~SDSceneNode() = default;
    virtual int getNodeType() const = 0;
    // 0 disjoint, 1 overlapping, 2 this node's box lies wholly inside `other`.
    virtual int classifyAgainstBox(const BoundingBox& other) const = 0;
    // Marks in `flags` the octants around `centre` that the node's box reaches and returns the single
    // octant index, or -1 when none or several are reached.
    virtual int findOctant(const Vector3& centre, std::array<bool, 8>& flags) const = 0;
    // "m_show = true" / "m_show = false"; subclasses put their own fields in front.
    virtual std::string print() const;

    void drawIfShown();
    bool isShown() const { return m_show; }
    void setShown(bool show) { m_show = show; }

    bool m_show = true;
};
