#pragma once

#include <array>
#include <functional>
#include <memory>

#include "scene/BoundingBox.h"
#include "scene/SDOctTreeNode.h"
#include "scene/SDSceneNode.h"
#include "shell/Log.h"
#include "view3d/Frustum.h"

// A scene node with any box (also flat or inverted ones) whose draw issues no GL and only counts.
class CountingNode : public SDSceneNode {
  public:
    CountingNode(const Vector3& min, const Vector3& max, int* draws = nullptr, int id = -1)
        : m_draws(draws), m_id(id) {
        m_box.setMinMax(min, max);
    }
    static std::unique_ptr<CountingNode> cube(const Vector3& centre, float edge, int* draws = nullptr,
                                              int id = -1) {
        Vector3 half(edge / 2, edge / 2, edge / 2);
        return std::make_unique<CountingNode>(centre - half, centre + half, draws, id);
    }
    ~CountingNode() override {
        if (m_id >= 0) {
            logMessage("node %d destroyed", m_id);
        }
    }
    void draw() override {
        if (m_draws != nullptr) {
            ++*m_draws;
        }
    }
    int getNodeType() const override { return 7; }
    int classifyAgainstBox(const BoundingBox& other) const override {
        return classifyBoxAgainstBox(m_box, other);
    }
    int findOctant(const Vector3& centre, std::array<bool, 8>& flags) const override {
        return findBoxOctant(m_box, centre, flags);
    }

    BoundingBox m_box;

  private:
    int* m_draws;
    int m_id;
};

// Counts the box tests that culling asks for.
class CountingFrustum : public Frustum {
  public:
    int classifyBox(const BoundingBox& box) const override {
        ++m_tests;
        return Frustum::classifyBox(box);
    }
    mutable int m_tests = 0;
};

using Matrix = std::array<double, 16>;

inline Matrix identityMatrix() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

// The matrix glOrtho builds, column-major.
inline Matrix orthoMatrix(double l, double r, double b, double t, double n, double f) {
    Matrix m = identityMatrix();
    m[0] = 2 / (r - l);
    m[5] = 2 / (t - b);
    m[10] = -2 / (f - n);
    m[12] = -(r + l) / (r - l);
    m[13] = -(t + b) / (t - b);
    m[14] = -(f + n) / (f - n);
    return m;
}

// A frustum that is the axis-aligned box [lo, hi] (an orthographic camera with the identity view).
inline void setBoxFrustum(Frustum& frustum, const Vector3& lo, const Vector3& hi) {
    Matrix projection = orthoMatrix(lo.x, hi.x, lo.y, hi.y, -hi.z, -lo.z);
    Matrix view = identityMatrix();
    frustum.update(projection.data(), view.data());
}

// Visits every octree node below and including `node`, depth first in octant order.
inline void forEachTreeNode(SDOctTreeNode* node, const std::function<void(SDOctTreeNode*)>& visit) {
    visit(node);
    for (int i = 0; i < 8; ++i) {
        if (SDOctTreeNode* child = node->getChild(i)) {
            forEachTreeNode(child, visit);
        }
    }
}
