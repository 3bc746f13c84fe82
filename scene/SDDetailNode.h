#pragma once

#include <string>

#include "scene/SDSceneNode.h"

// A drawable node that stands for a model or a cell in the 3D view.
class SDDetailNode : public SDSceneNode {
  public:
    void draw() override = 0;
    ~SDDetailNode() override = default;
    int getNodeType() const override = 0;
    int classifyAgainstBox(const BoundingBox& other) const override = 0;
    int findOctant(const Vector3& centre, std::array<bool, 8>& flags) const override = 0;
    std::string print() const override { return SDSceneNode::print(); }
};
