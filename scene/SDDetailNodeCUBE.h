#pragma once

#include <array>
#include <string>

#include "scene/BoundingBox.h"
#include "scene/SDDetailNode.h"

// A solid, lit, possibly translucent axis-aligned cube in one RGBA colour. A Cell-DEVS model keeps one per
// cell, so the box is held by value: no heap block of its own.
class SDDetailNodeCUBE : public SDDetailNode {
  public:
    // A unit cube at the origin, coloured (0, 0.8, 0.4, 1).
    SDDetailNodeCUBE();

    void draw() override;
    ~SDDetailNodeCUBE() override = default;
    int getNodeType() const override { return 0; }
    int classifyAgainstBox(const BoundingBox& other) const override;
    int findOctant(const Vector3& centre, std::array<bool, 8>& flags) const override;
    // "m_color ={r,g,b,a}; m_position ={min} -> {max}; m_show = true"
    std::string print() const override;
    virtual void setColor(float r, float g, float b, float a);
    virtual void setPosition(const Vector3& centre);
    // One edge length for all three axes.
    virtual void setSize(float edge);
    virtual std::array<float, 4> getColor() const { return m_color; }

    const BoundingBox& getBoundingBox() const { return m_position; }

  private:
    BoundingBox m_position;
    std::array<float, 4> m_color;
};
