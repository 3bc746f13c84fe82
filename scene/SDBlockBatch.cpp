#include "scene/SDBlockBatch.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

// Face shades: the front is lit full, the top a little less, the sides and the bottom less still.
constexpr float kFront = 1.0f;
constexpr float kTop = 0.8f;
constexpr float kSide = 0.65f;
constexpr float kBottom = 0.5f;
constexpr float kHeadLength = 0.3f;
constexpr float kHeadHalfWidth = 0.12f;

uint8_t channel(float value) {
    return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

void SDBlockBatch::clear() {
    m_solidVertices.clear();
    m_translucentVertices.clear();
    m_lines.clear();
    m_boldLines.clear();
    m_arrowLines.clear();
    m_arrowHeads.clear();
    m_outlines.clear();
}

void SDBlockBatch::push(std::vector<Vertex>& out, const Vector3& p, const Colour& colour, float shade) {
    out.push_back(Vertex{p.x, p.y, p.z, channel(colour[0] * shade), channel(colour[1] * shade),
                         channel(colour[2] * shade), channel(colour[3])});
}

void SDBlockBatch::addSolid(const BoundingBox& box, const Colour& colour) {
    const Vector3& l = box.getMin();
    const Vector3& h = box.getMax();
    // Each face counter-clockwise seen from outside.
    const Vector3 faces[6][4] = {
        {{l.x, l.y, h.z}, {h.x, l.y, h.z}, {h.x, h.y, h.z}, {l.x, h.y, h.z}},  // front
        {{l.x, h.y, h.z}, {h.x, h.y, h.z}, {h.x, h.y, l.z}, {l.x, h.y, l.z}},  // top
        {{h.x, l.y, h.z}, {h.x, l.y, l.z}, {h.x, h.y, l.z}, {h.x, h.y, h.z}},  // right
        {{l.x, l.y, l.z}, {l.x, l.y, h.z}, {l.x, h.y, h.z}, {l.x, h.y, l.z}},  // left
        {{l.x, l.y, l.z}, {h.x, l.y, l.z}, {h.x, l.y, h.z}, {l.x, l.y, h.z}},  // bottom
        {{h.x, l.y, l.z}, {l.x, l.y, l.z}, {l.x, h.y, l.z}, {h.x, h.y, l.z}},  // back
    };
    const float shades[6] = {kFront, kTop, kSide, kSide, kBottom, kBottom};
    std::vector<Vertex>& out = colour[3] < 1.0f ? m_translucentVertices : m_solidVertices;
    for (int face = 0; face < 6; ++face) {
        for (const Vector3& corner : faces[face]) {
            push(out, corner, colour, shades[face]);
        }
    }
}

void SDBlockBatch::boxEdges(std::vector<Vertex>& out, const BoundingBox& box, const Colour& colour) {
    for (int corner = 0; corner < 8; ++corner) {
        // Each edge once: from a corner to the neighbour with one more bit set.
        for (int bit : {4, 2, 1}) {
            if ((corner & bit) == 0) {
                push(out, box.getCorner(corner), colour);
                push(out, box.getCorner(corner | bit), colour);
            }
        }
    }
}

void SDBlockBatch::addFrame(const BoundingBox& box, const Colour& colour, bool bold) {
    boxEdges(bold ? m_boldLines : m_lines, box, colour);
}

void SDBlockBatch::addLine(const Vector3& from, const Vector3& to, const Colour& colour) {
    push(m_lines, from, colour);
    push(m_lines, to, colour);
}

void SDBlockBatch::addArrow(const Vector3& from, const Vector3& to, const Colour& colour) {
    push(m_arrowLines, from, colour);
    push(m_arrowLines, to, colour);
    Vector3 along = to - from;
    const float length = along.length();
    if (length <= Vector3::kNormaliseEpsilon) {
        return;
    }
    along /= length;
    Vector3 across = along.cross(Vector3(0.0f, 0.0f, 1.0f));
    if (across.length() <= Vector3::kNormaliseEpsilon) {
        across = Vector3(0.0f, 1.0f, 0.0f);
    }
    across.normalise();
    const float head = std::min(kHeadLength, length / 2.0f);
    const Vector3 base = to - along * head;
    push(m_arrowHeads, to, colour);
    push(m_arrowHeads, base + across * kHeadHalfWidth, colour);
    push(m_arrowHeads, base - across * kHeadHalfWidth, colour);
}

void SDBlockBatch::addPath(const std::vector<Vector3>& points, const Colour& colour) {
    if (points.size() < 2) {
        return;
    }
    for (size_t i = 0; i + 2 < points.size(); ++i) {
        push(m_arrowLines, points[i], colour);
        push(m_arrowLines, points[i + 1], colour);
    }
    addArrow(points[points.size() - 2], points.back(), colour);
}

void SDBlockBatch::addOutline(const BoundingBox& box, const Colour& colour) {
    boxEdges(m_outlines, box, colour);
}

void SDBlockBatch::drawArray(const std::vector<Vertex>& vertices, unsigned mode) {
    if (vertices.empty()) {
        return;
    }
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &vertices[0].x);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), &vertices[0].r);
    glDrawArrays(mode, 0, static_cast<GLsizei>(vertices.size()));
}

void SDBlockBatch::draw() const {
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT |
                 GL_POLYGON_BIT);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(m_target.x, m_target.y, m_target.z);
    glScalef(m_scale, m_scale, m_scale);
    glTranslatef(-m_pivot.x, -m_pivot.y, -m_pivot.z);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);

    // Faces away from the eye are hidden by the block's own front: not filled.
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glDisable(GL_BLEND);
    drawArray(m_solidVertices, GL_QUADS);
    glLineWidth(1.5f);
    drawArray(m_lines, GL_LINES);
    glLineWidth(3.0f);
    drawArray(m_boldLines, GL_LINES);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawArray(m_translucentVertices, GL_QUADS);
    glDisable(GL_CULL_FACE);

    glDisable(GL_DEPTH_TEST);
    glLineWidth(2.0f);
    drawArray(m_arrowLines, GL_LINES);
    drawArray(m_arrowHeads, GL_TRIANGLES);
    drawArray(m_outlines, GL_LINES);

    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
}
