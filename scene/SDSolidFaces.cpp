#include "scene/SDSolidFaces.h"

#include <algorithm>
#include <cmath>

#include "scene/SDCellGL.h"
#include "shell/Log.h"

using cellgl::entryPoints;
using cellgl::EntryPoints;

namespace {

constexpr size_t kFaceCorners = 4;
constexpr size_t kFaceIndices = 6;
constexpr size_t kEdgeIndices = 8;
constexpr GLushort kQuad[kFaceIndices] = {0, 1, 2, 0, 2, 3};
constexpr GLushort kQuadEdges[kEdgeIndices] = {0, 1, 1, 2, 2, 3, 3, 0};

// Whether every corner of the placement's cubes is a whole number of quarters that 16 bits hold: then
// the corners are stored as GLshort quarters and drawn under a scale of 1/4, the same floats in half the
// memory.
bool fitsQuarters(const SDCellPlacement& placement) {
    const float half = placement.getCubeEdge() / 2.0f;
    for (const std::vector<float>* along : {&placement.xs(), &placement.ys(), &placement.zs()}) {
        for (float at : *along) {
            for (float v : {at - half, at + half}) {
                const float quarters = v * 4.0f;
                if (!(std::fabs(quarters) <= 32767.0f) || std::nearbyint(quarters) != quarters) {
                    return false;
                }
            }
        }
    }
    return true;
}

}  // namespace

SDSolidFaces::~SDSolidFaces() {
    releaseBuffers();
}

void SDSolidFaces::releaseBuffers() {
    // Faces never drawn touch no GL (they may live where no context exists).
    for (size_t d = 0; d < 6; ++d) {
        if (m_positions[d] != 0) {
            entryPoints().deleteBuffers(1, &m_positions[d]);
            entryPoints().deleteBuffers(1, &m_colourBuffers[d]);
        }
        m_positions[d] = m_colourBuffers[d] = 0;
    }
    if (m_quadPattern != 0) {
        entryPoints().deleteBuffers(1, &m_quadPattern);
        entryPoints().deleteBuffers(1, &m_edgePattern);
    }
    m_quadPattern = m_edgePattern = 0;
    m_listsValid = false;
}

void SDSolidFaces::build(const SDCellPlacement& placement) {
    m_placement = placement;
    m_counts[0] = placement.getWidth();
    m_counts[1] = placement.getHeight();
    m_counts[2] = placement.getLength();
    m_strides[0] = m_counts[1] * m_counts[2];
    m_strides[1] = m_counts[2];
    m_strides[2] = 1;
    m_quarters = fitsQuarters(placement);
    m_colours.assign(placement.cellCount(), Rgba8{});
    m_hiddenCount = placement.cellCount();
    m_faces.assign(placement.cellCount(), 0);
    m_stateChanged.clear();
    m_facesValid = false;
    m_colourChanged.clear();
    m_allColours = false;
    m_eyeCell = SIZE_MAX;
    for (std::vector<uint32_t>& list : m_lists) {
        list.clear();
    }
    m_listsValid = false;
}

void SDSolidFaces::setCell(size_t cell, Rgba8 colour) {
    if (cell >= m_colours.size()) {
        return;
    }
    const Rgba8 old = m_colours[cell];
    m_colours[cell] = colour;
    if ((old.a == 0) != (colour.a == 0)) {
        m_hiddenCount += colour.a == 0 ? 1 : static_cast<size_t>(-1);
    }
    if ((old.a == 0) != (colour.a == 0) || (old.a < 255) != (colour.a < 255)) {
        // What the cell lets through changed: its faces and its neighbours' are worked out again.
        m_listsValid = false;
        if (m_facesValid) {
            m_stateChanged.push_back(static_cast<uint32_t>(cell));
            if (m_stateChanged.size() > m_colours.size() / 8) {
                m_facesValid = false;  // cheaper done whole
                m_stateChanged.clear();
            }
        }
        return;
    }
    if (m_listsValid && !m_allColours && colour.a != 0) {
        m_colourChanged.push_back(static_cast<uint32_t>(cell));
        if (m_colourChanged.size() > m_colours.size() / 8) {
            m_allColours = true;
            m_colourChanged.clear();
        }
    }
}

size_t SDSolidFaces::planeOf(size_t cell, int axis) const {
    return cell / m_strides[static_cast<size_t>(axis)] % m_counts[static_cast<size_t>(axis)];
}

unsigned SDSolidFaces::visibleFaces(size_t cell) const {
    if (m_colours[cell].a == 0) {
        return 0;
    }
    if (open(cell)) {
        return 63;  // translucent, or the eye's own cell: every face, as a cube of its own
    }
    unsigned faces = 0;
    for (size_t axis = 0; axis < 3; ++axis) {
        const size_t at = planeOf(cell, static_cast<int>(axis));
        if (at + 1 == m_counts[axis] || open(cell + m_strides[axis])) {
            faces |= 1u << (2 * axis);
        }
        if (at == 0 || open(cell - m_strides[axis])) {
            faces |= 2u << (2 * axis);
        }
    }
    return faces;
}

void SDSolidFaces::refreshFaces() {
    if (!m_facesValid) {
        for (size_t cell = 0; cell < m_faces.size(); ++cell) {
            m_faces[cell] = static_cast<uint8_t>(visibleFaces(cell));
        }
        m_facesValid = true;
        m_stateChanged.clear();
        return;
    }
    for (uint32_t cell : m_stateChanged) {
        m_faces[cell] = static_cast<uint8_t>(visibleFaces(cell));
        for (size_t axis = 0; axis < 3; ++axis) {
            const size_t at = planeOf(cell, static_cast<int>(axis));
            if (at + 1 < m_counts[axis]) {
                m_faces[cell + m_strides[axis]] = static_cast<uint8_t>(visibleFaces(cell + m_strides[axis]));
            }
            if (at > 0) {
                m_faces[cell - m_strides[axis]] = static_cast<uint8_t>(visibleFaces(cell - m_strides[axis]));
            }
        }
    }
    m_stateChanged.clear();
}

size_t SDSolidFaces::cellAt(bool eyeKnown, const float eye[3]) const {
    if (!eyeKnown || m_colours.empty()) {
        return SIZE_MAX;
    }
    const std::vector<float>* axes[3] = {&m_placement.xs(), &m_placement.ys(), &m_placement.zs()};
    const float edge = m_placement.getCubeEdge();
    size_t cell = 0;
    for (size_t axis = 0; axis < 3; ++axis) {
        const float from = axes[axis]->front() - edge / 2.0f;
        const float at = std::floor((eye[axis] - from) / edge);
        if (!(at >= 0.0f) || at >= static_cast<float>(m_counts[axis])) {
            return SIZE_MAX;
        }
        cell += static_cast<size_t>(at) * m_strides[axis];
    }
    return cell;
}

void SDSolidFaces::writeFace(size_t cell, int direction, bool flat, void* positions, Rgba8* colours) const {
    const int axis = direction / 2;
    const int side = direction % 2;
    const float half = m_placement.getCubeEdge() / 2.0f;
    const Vector3 centre = m_placement.localCentre(static_cast<unsigned>(planeOf(cell, 0)),
                                                   static_cast<unsigned>(planeOf(cell, 1)),
                                                   static_cast<unsigned>(planeOf(cell, 2)));
    const float c[3] = {centre.x, centre.y, centre.z};
    float low[3];
    float high[3];
    for (int a = 0; a < 3; ++a) {
        low[a] = c[a] - half;
        high[a] = c[a] + half;
    }
    if (flat) {
        low[2] = high[2];  // the front face alone
    }
    const GLushort* corners = cellgl::kFaces[axis][side];
    const GLushort quad[kFaceCorners] = {corners[0], corners[1], corners[2], corners[5]};
    for (size_t v = 0; v < kFaceCorners; ++v) {
        for (int a = 0; a < 3; ++a) {
            const float value = (quad[v] >> a & 1) != 0 ? high[a] : low[a];
            if (m_quarters) {
                static_cast<GLshort*>(positions)[3 * v + static_cast<size_t>(a)] =
                    static_cast<GLshort>(std::lround(value * 4.0f));
            } else {
                static_cast<float*>(positions)[3 * v + static_cast<size_t>(a)] = value;
            }
        }
        colours[v] = m_colours[cell];
    }
}

bool SDSolidFaces::ensurePatterns() {
    // As long as the longest run of one direction's faces: a small block keeps small patterns.
    size_t faces = 1;
    for (const std::vector<uint32_t>& list : m_lists) {
        faces = std::max(faces, std::min(list.size(), kChunkFaces));
    }
    if (m_quadPattern != 0 && faces <= m_patternFaces) {
        return true;
    }
    const EntryPoints& gl = entryPoints();
    if (m_quadPattern != 0) {
        gl.deleteBuffers(1, &m_quadPattern);
        gl.deleteBuffers(1, &m_edgePattern);
    }
    m_patternFaces = faces;
    std::vector<GLushort> quads(faces * kFaceIndices);
    std::vector<GLushort> edges(faces * kEdgeIndices);
    for (size_t face = 0; face < faces; ++face) {
        for (size_t i = 0; i < kFaceIndices; ++i) {
            quads[face * kFaceIndices + i] = static_cast<GLushort>(face * kFaceCorners + kQuad[i]);
        }
        for (size_t i = 0; i < kEdgeIndices; ++i) {
            edges[face * kEdgeIndices + i] = static_cast<GLushort>(face * kFaceCorners + kQuadEdges[i]);
        }
    }
    gl.genBuffers(1, &m_quadPattern);
    gl.genBuffers(1, &m_edgePattern);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_quadPattern);
    gl.bufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(quads.size() * sizeof(GLushort)),
                  quads.data(), GL_STATIC_DRAW);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_edgePattern);
    gl.bufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(edges.size() * sizeof(GLushort)),
                  edges.data(), GL_STATIC_DRAW);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    return true;
}

bool SDSolidFaces::rebuild(bool flat) {
    // Each direction's faces by the plane they lie in, then in the order the cells are stored.
    for (std::vector<uint32_t>& list : m_lists) {
        list.clear();
    }
    for (int axis = flat ? 2 : 0; axis < 3; ++axis) {
        const size_t a = static_cast<size_t>(axis);
        const size_t outer = axis == 0 ? 1 : 0;
        const size_t inner = axis == 2 ? 1 : 2;
        const unsigned high = 1u << (2 * a);
        const unsigned low = 2u << (2 * a);
        for (size_t p = 0; p < m_counts[a]; ++p) {
            for (size_t i = 0; i < m_counts[outer]; ++i) {
                const size_t row = p * m_strides[a] + i * m_strides[outer];
                for (size_t j = 0; j < m_counts[inner]; ++j) {
                    const size_t cell = row + j * m_strides[inner];
                    const unsigned faces = m_faces[cell];
                    if ((faces & high) != 0) {
                        m_lists[2 * a].push_back(static_cast<uint32_t>(cell));
                    }
                    if ((faces & low) != 0) {
                        m_lists[2 * a + 1].push_back(static_cast<uint32_t>(cell));
                    }
                }
            }
        }
    }
    const EntryPoints& gl = entryPoints();
    const size_t positionBytes = m_quarters ? 3 * sizeof(GLshort) : 3 * sizeof(float);
    std::vector<unsigned char> positions;
    std::vector<Rgba8> colours;
    while (glGetError() != GL_NO_ERROR) {
    }
    for (size_t d = 0; d < 6; ++d) {
        const std::vector<uint32_t>& list = m_lists[d];
        positions.resize(list.size() * kFaceCorners * positionBytes);
        colours.resize(list.size() * kFaceCorners);
        for (size_t f = 0; f < list.size(); ++f) {
            writeFace(list[f], static_cast<int>(d), flat, positions.data() + f * kFaceCorners * positionBytes,
                      colours.data() + f * kFaceCorners);
        }
        if (m_positions[d] == 0) {
            gl.genBuffers(1, &m_positions[d]);
            gl.genBuffers(1, &m_colourBuffers[d]);
        }
        gl.bindBuffer(GL_ARRAY_BUFFER, m_positions[d]);
        gl.bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(positions.size()), positions.data(),
                      GL_DYNAMIC_DRAW);
        gl.bindBuffer(GL_ARRAY_BUFFER, m_colourBuffers[d]);
        gl.bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(colours.size() * sizeof(Rgba8)),
                      colours.data(), GL_DYNAMIC_DRAW);
    }
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    if (glGetError() == GL_OUT_OF_MEMORY) {
        logMessage("Unable to draw cells: out of memory for %zu faces", getFaceCount());
        releaseBuffers();
        return false;
    }
    m_listsValid = true;
    m_listsFlat = flat;
    m_allColours = false;
    m_colourChanged.clear();
    return true;
}

void SDSolidFaces::patchColours() {
    const EntryPoints& gl = entryPoints();
    if (m_allColours) {
        std::vector<Rgba8> colours;
        for (size_t d = 0; d < 6; ++d) {
            colours.resize(m_lists[d].size() * kFaceCorners);
            for (size_t f = 0; f < m_lists[d].size(); ++f) {
                std::fill_n(colours.data() + f * kFaceCorners, kFaceCorners, m_colours[m_lists[d][f]]);
            }
            gl.bindBuffer(GL_ARRAY_BUFFER, m_colourBuffers[d]);
            gl.bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(colours.size() * sizeof(Rgba8)),
                          colours.data(), GL_DYNAMIC_DRAW);
        }
        gl.bindBuffer(GL_ARRAY_BUFFER, 0);
        m_allColours = false;
        return;
    }
    if (m_colourChanged.empty()) {
        return;
    }
    std::array<Rgba8*, 6> mapped{};
    for (uint32_t cell : m_colourChanged) {
        for (size_t d = 0; d < 6; ++d) {
            if ((m_faces[cell] & (1u << d)) == 0) {
                continue;
            }
            const int axis = static_cast<int>(d / 2);
            const size_t plane = planeOf(cell, axis);
            const std::vector<uint32_t>& list = m_lists[d];
            auto at = std::lower_bound(list.begin(), list.end(), cell, [&](uint32_t listed, uint32_t wanted) {
                const size_t p = planeOf(listed, axis);
                return p < plane || (p == plane && listed < wanted);
            });
            if (at == list.end() || *at != cell) {
                continue;  // a face not kept (the side faces of a flat map)
            }
            if (mapped[d] == nullptr) {
                gl.bindBuffer(GL_ARRAY_BUFFER, m_colourBuffers[d]);
                mapped[d] = static_cast<Rgba8*>(gl.mapBuffer(GL_ARRAY_BUFFER, GL_WRITE_ONLY));
                if (mapped[d] == nullptr) {
                    continue;
                }
            }
            std::fill_n(mapped[d] + static_cast<size_t>(at - list.begin()) * kFaceCorners, kFaceCorners,
                        m_colours[cell]);
        }
    }
    for (size_t d = 0; d < 6; ++d) {
        if (mapped[d] != nullptr) {
            gl.bindBuffer(GL_ARRAY_BUFFER, m_colourBuffers[d]);
            gl.unmapBuffer(GL_ARRAY_BUFFER);
        }
    }
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    m_colourChanged.clear();
}

bool SDSolidFaces::draw(const Look& look, bool eyeKnown, const float eye[3], unsigned long& calls,
                        unsigned long long& indices) {
    if (m_colours.empty()) {
        return false;
    }
    // The eye's own cell opens its neighbours' faces towards it.
    const size_t eyeCell = cellAt(eyeKnown, eye);
    if (eyeCell != m_eyeCell) {
        for (size_t cell : {m_eyeCell, eyeCell}) {
            if (cell != SIZE_MAX && m_facesValid) {
                m_stateChanged.push_back(static_cast<uint32_t>(cell));
            }
        }
        m_eyeCell = eyeCell;
        m_listsValid = false;
    }
    if (!m_facesValid || !m_stateChanged.empty()) {
        refreshFaces();
        m_listsValid = false;
    }
    if (!m_listsValid || m_listsFlat != look.flat) {
        if (!rebuild(look.flat)) {
            return false;
        }
    } else {
        patchColours();
    }
    if (!ensurePatterns()) {
        return false;
    }

    const EntryPoints& gl = entryPoints();
    const std::vector<float>* axes[3] = {&m_placement.xs(), &m_placement.ys(), &m_placement.zs()};
    const float half = m_placement.getCubeEdge() / 2.0f;
    const size_t positionBytes = m_quarters ? 3 * sizeof(GLshort) : 3 * sizeof(float);
    if (m_quarters) {
        glScalef(0.25f, 0.25f, 0.25f);  // exact: every coordinate the float the corner gives
    }
    // The faces that can face the eye, per direction: a run of planes, found by binary search.
    std::array<std::pair<size_t, size_t>, 6> runs{};
    for (size_t d = 0; d < 6; ++d) {
        const int axis = static_cast<int>(d / 2);
        const bool high = d % 2 == 0;
        const std::vector<float>& along = *axes[axis];
        size_t first = 0;
        size_t last = along.size();
        if (eyeKnown) {
            const float e = eye[axis];
            const float slack = 1e-4f * (1.0f + std::fabs(e));
            const bool front = look.flat && axis == 2;  // both sides on the front plane
            if (high) {
                last = static_cast<size_t>(
                    std::partition_point(along.begin(), along.end(),
                                         [&](float at) { return at + half < e + slack; }) -
                    along.begin());
            } else {
                first = static_cast<size_t>(std::partition_point(along.begin(), along.end(),
                                                                 [&](float at) {
                                                                     return (front ? at + half : at - half) <=
                                                                            e - slack;
                                                                 }) -
                                            along.begin());
            }
        }
        const std::vector<uint32_t>& list = m_lists[d];
        auto byPlane = [&](size_t plane) {
            return static_cast<size_t>(
                std::partition_point(list.begin(), list.end(),
                                     [&](uint32_t cell) { return planeOf(cell, axis) < plane; }) -
                list.begin());
        };
        runs[d] = first < last ? std::make_pair(byPlane(first), byPlane(last))
                               : std::make_pair(size_t{0}, size_t{0});
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    auto drawRuns = [&](GLenum mode, size_t perFace, bool colours) {
        for (size_t d = 0; d < 6; ++d) {
            const auto [from, to] = runs[d];
            if (from >= to) {
                continue;
            }
            if (look.shaded && colours) {
                const int texel = cellgl::worldFace(m_placement, static_cast<int>(d));
                glTexCoord2f((static_cast<float>(texel) + 0.5f) / cellgl::kShadeTexels, 0.5f);
            }
            m_drawCounts.clear();
            m_drawOffsets.clear();
            m_drawBases.clear();
            for (size_t f = from; f < to;) {
                const size_t inChunk = f % kChunkFaces;
                const size_t count = std::min(to - f, kChunkFaces - inChunk);
                m_drawCounts.push_back(static_cast<GLsizei>(count * perFace));
                m_drawOffsets.push_back(reinterpret_cast<const void*>(inChunk * perFace * sizeof(GLushort)));
                m_drawBases.push_back(static_cast<GLint>((f - inChunk) * kFaceCorners));
                indices += count * perFace;
                f += count;
            }
            if (colours) {
                gl.bindBuffer(GL_ARRAY_BUFFER, m_colourBuffers[d]);
                glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
            }
            gl.bindBuffer(GL_ARRAY_BUFFER, m_positions[d]);
            if (gl.multiDrawBaseVertex != nullptr) {
                glVertexPointer(3, m_quarters ? GL_SHORT : GL_FLOAT, 0, nullptr);
                gl.multiDrawBaseVertex(mode, m_drawCounts.data(), GL_UNSIGNED_SHORT, m_drawOffsets.data(),
                                       static_cast<GLsizei>(m_drawCounts.size()), m_drawBases.data());
                ++calls;
                continue;
            }
            // Without base vertices each run points the arrays at its own chunk's first corner.
            for (size_t run = 0; run < m_drawCounts.size(); ++run) {
                const size_t base = static_cast<size_t>(m_drawBases[run]);
                if (colours) {
                    gl.bindBuffer(GL_ARRAY_BUFFER, m_colourBuffers[d]);
                    glColorPointer(4, GL_UNSIGNED_BYTE, 0,
                                   reinterpret_cast<const void*>(base * sizeof(Rgba8)));
                    gl.bindBuffer(GL_ARRAY_BUFFER, m_positions[d]);
                }
                glVertexPointer(3, m_quarters ? GL_SHORT : GL_FLOAT, 0,
                                reinterpret_cast<const void*>(base * positionBytes));
                glDrawElements(mode, m_drawCounts[run], GL_UNSIGNED_SHORT, m_drawOffsets[run]);
                ++calls;
            }
        }
    };
    glEnableClientState(GL_COLOR_ARRAY);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_quadPattern);
    drawRuns(GL_TRIANGLES, kFaceIndices, true);
    glDisableClientState(GL_COLOR_ARRAY);
    if (look.outlined) {
        // The edges of the faces drawn: of a solid block, every edge that can be seen.
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_POLYGON_OFFSET_FILL);
        glColor4fv(cellgl::kEdgeColour);
        gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_edgePattern);
        drawRuns(GL_LINES, kEdgeIndices, false);
    }
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
    return true;
}

size_t SDSolidFaces::getFaceCount() const {
    size_t faces = 0;
    for (const std::vector<uint32_t>& list : m_lists) {
        faces += list.size();
    }
    return faces;
}

size_t SDSolidFaces::getBufferBytes() const {
    const size_t positionBytes = m_quarters ? 3 * sizeof(GLshort) : 3 * sizeof(float);
    size_t bytes = m_listsValid ? getFaceCount() * kFaceCorners * (positionBytes + sizeof(Rgba8)) : 0;
    if (m_quadPattern != 0) {
        bytes += m_patternFaces * (kFaceIndices + kEdgeIndices) * sizeof(GLushort);
    }
    return bytes;
}
