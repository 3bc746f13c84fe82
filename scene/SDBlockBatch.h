#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene/BoundingBox.h"
#include "scene/Vector3.h"

// The blocks, frames, port markers and message arrows of a model hierarchy for one frame, gathered and then
// drawn with a few GL calls from client-side arrays (no buffers to keep: a few thousand models make a few
// hundred kilobytes a frame).
//
// Solid blocks are shaded by face (front brightest), without the scene's light, so that a colour reads the
// same on every block; only their faces towards the eye are filled, and only translucent ones are blended.
// Frames are their twelve edges. Arrows are drawn last, over everything: a message is never hidden by a
// block.
class SDBlockBatch {
  public:
    using Colour = std::array<float, 4>;

    void clear();
    void addSolid(const BoundingBox& box, const Colour& colour);
    // `bold`: thicker edges.
    void addFrame(const BoundingBox& box, const Colour& colour, bool bold);
    void addLine(const Vector3& from, const Vector3& to, const Colour& colour);
    // A line with a head at `to`, the head in the plane of the line and the screen's up.
    void addArrow(const Vector3& from, const Vector3& to, const Colour& colour);
    // An arrow along a polyline of at least two points, its head on the last one.
    void addPath(const std::vector<Vector3>& points, const Colour& colour);
    // Edges of a box drawn over everything, as a selection's outline.
    void addOutline(const BoundingBox& box, const Colour& colour);

    // Draws what was gathered with the current matrices, scaled by `scale` with the point `pivot` drawn at
    // `target` when set (a structure drawn smaller keeps its own coordinates). Leaves the GL state as it
    // found it.
    void draw() const;
    void setScale(const Vector3& pivot, const Vector3& target, float scale) {
        m_pivot = pivot;
        m_target = target;
        m_scale = scale;
    }

  private:
    struct Vertex {
        float x, y, z;
        uint8_t r, g, b, a;
    };
    static void boxEdges(std::vector<Vertex>& out, const BoundingBox& box, const Colour& colour);
    static void push(std::vector<Vertex>& out, const Vector3& p, const Colour& colour, float shade = 1.0f);
    static void drawArray(const std::vector<Vertex>& vertices, unsigned mode);

    std::vector<Vertex> m_solidVertices;        // quads
    std::vector<Vertex> m_translucentVertices;  // quads
    std::vector<Vertex> m_lines;
    std::vector<Vertex> m_boldLines;
    std::vector<Vertex> m_arrowLines;
    std::vector<Vertex> m_arrowHeads;  // triangles
    std::vector<Vertex> m_outlines;
    Vector3 m_pivot;
    Vector3 m_target;
    float m_scale = 1.0f;
};
