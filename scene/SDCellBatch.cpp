#include "scene/SDCellBatch.h"

#include <GL/glext.h>
#include <GL/glx.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "scene/SDCellGL.h"
#include "shell/Log.h"

using cellgl::currentEye;
using cellgl::entryPoints;
using cellgl::EntryPoints;
using cellgl::kEdgeColour;
using cellgl::kFaces;
using cellgl::kShadeTexels;
using cellgl::worldFace;

namespace {
unsigned long g_drawCalls = 0;
unsigned long long g_indicesSent = 0;
size_t g_indicesPerPart = SDCellBatch::kIndicesPerPart;

constexpr size_t kCorners = 8;
constexpr unsigned kHigh = 1;  // face bits of a Segment
constexpr unsigned kLow = 2;
constexpr unsigned kOutline = 64;  // key bit: the cell is sent as its outline
constexpr unsigned kEdges = 128;   // key of the pattern of a cube's twelve edges, as lines

uint8_t toByte(float component) {
    // NaN reads as 0.
    const float clamped = component > 0.0f ? std::min(component, 1.0f) : 0.0f;
    return static_cast<uint8_t>(std::lround(clamped * 255.0f));
}

// The indices of one cell for a key: the faces it names, or the outline of the three faces it names, or
// its edges.
std::vector<GLushort> cellIndices(unsigned key) {
    std::vector<GLushort> indices;
    if (key == kEdges) {
        // Each edge joins two corners that differ along one axis.
        for (GLushort corner = 0; corner < kCorners; ++corner) {
            for (int axis = 0; axis < 3; ++axis) {
                if ((corner >> axis & 1) == 0) {
                    indices.push_back(corner);
                    indices.push_back(static_cast<GLushort>(corner | 1 << axis));
                }
            }
        }
        return indices;
    }
    if ((key & kOutline) == 0) {
        for (int axis = 0; axis < 3; ++axis) {
            const unsigned faces = (key >> (2 * axis)) & 3u;
            for (int side = 0; side < 2; ++side) {
                if ((faces & (side == 0 ? kHigh : kLow)) != 0) {
                    indices.insert(indices.end(), kFaces[axis][side], kFaces[axis][side] + 6);
                }
            }
        }
        return indices;
    }
    // The eye looks from the side of corner `nearest`; the outline runs through the six corners that
    // differ from it in one or two coordinates, each next one differing from the last in one.
    int nearest = 0;
    float toward[3];
    for (int axis = 0; axis < 3; ++axis) {
        const bool high = ((key >> (2 * axis)) & kHigh) != 0;
        nearest |= high ? (1 << axis) : 0;
        toward[axis] = high ? 1.0f : -1.0f;
    }
    int ring[6];
    const int flips[6] = {1, 3, 2, 6, 4, 5};
    for (int i = 0; i < 6; ++i) {
        ring[i] = nearest ^ flips[i];
    }
    // Counter-clockwise as the eye sees it: the ring's normal (Newell's sum) must point at the eye.
    float normal[3] = {0.0f, 0.0f, 0.0f};
    auto coordinate = [](int corner, int axis) { return (corner >> axis & 1) != 0 ? 1.0f : -1.0f; };
    for (int i = 0; i < 6; ++i) {
        const int a = ring[i];
        const int b = ring[(i + 1) % 6];
        for (int axis = 0; axis < 3; ++axis) {
            const int u = (axis + 1) % 3;
            const int v = (axis + 2) % 3;
            normal[axis] += (coordinate(a, u) - coordinate(b, u)) * (coordinate(a, v) + coordinate(b, v));
        }
    }
    if (normal[0] * toward[0] + normal[1] * toward[1] + normal[2] * toward[2] < 0.0f) {
        std::reverse(ring, ring + 6);
    }
    for (int i = 1; i + 1 < 6; ++i) {
        indices.push_back(static_cast<GLushort>(ring[0]));
        indices.push_back(static_cast<GLushort>(ring[i]));
        indices.push_back(static_cast<GLushort>(ring[i + 1]));
    }
    return indices;
}

}  // namespace

SDCellBatch::Rgba8 SDCellBatch::toRgba8(const std::array<float, 4>& colour) {
    return Rgba8{toByte(colour[0]), toByte(colour[1]), toByte(colour[2]), toByte(colour[3])};
}

SDCellBatch::SDCellBatch() = default;

SDCellBatch::~SDCellBatch() {
    release();
}

void SDCellBatch::release() {
    // A batch that never made buffers touches no GL (it may live where no context exists).
    if (m_positions != 0 || m_colours != 0) {
        if (m_mappedPositions != nullptr || m_mappedColours != nullptr) {
            endUpdate();
        }
        const GLuint names[2] = {m_positions, m_colours};
        entryPoints().deleteBuffers(2, names);
    }
    m_solidFaces.reset();
    for (const auto& [key, pattern] : m_patterns) {
        entryPoints().deleteBuffers(1, &pattern.buffer);
    }
    m_patterns.clear();
    if (m_shadeTexture != 0) {
        glDeleteTextures(1, &m_shadeTexture);
        m_shadeTexture = 0;
    }
    m_positions = m_colours = 0;
    m_built = false;
}

bool SDCellBatch::build(const SDCellPlacement& placement) {
    release();
    m_placement = placement;
    const EntryPoints& gl = entryPoints();
    if (!gl.buffers) {
        logMessage("Unable to draw cells: the OpenGL driver has no vertex buffers");
        return false;
    }
    const size_t cells = m_placement.cellCount();
    if (cells == 0) {
        return false;
    }
    if (cells > kMaxCells) {
        logMessage("Unable to draw %zu cells: the view draws at most %zu cells of one model", cells,
                   kMaxCells);
        return false;
    }
    const std::vector<float>* axes[3] = {&m_placement.xs(), &m_placement.ys(), &m_placement.zs()};
    m_touching = false;
    for (int axis = 0; axis < 3; ++axis) {
        const std::vector<float>& at = *axes[axis];
        bool overlaps = at.size() > 1;
        for (size_t i = 1; i < at.size() && overlaps; ++i) {
            overlaps = at[i] - at[i - 1] <= m_placement.getCubeEdge();
        }
        m_overlaps[static_cast<size_t>(axis)] = overlaps;
        m_touching = m_touching || overlaps;
    }
    // Solid: along every axis of more than one cell, each cube meets the next face to face.
    m_solid = m_touching;
    for (int axis = 0; axis < 3 && m_solid; ++axis) {
        const std::vector<float>& at = *axes[axis];
        for (size_t i = 1; i < at.size() && m_solid; ++i) {
            m_solid = at[i] - at[i - 1] == m_placement.getCubeEdge();
        }
    }
    if (m_solid) {
        // Only the faces that show are kept; their buffers are made at the first draw.
        m_solidFaces = std::make_unique<SDSolidFaces>();
        m_solidFaces->build(m_placement);
        m_hidden.clear();
        m_hiddenCount = 0;
        m_built = true;
        return true;
    }
    m_quarters = !m_touching && fitsQuarters(m_placement);
    m_hidden.assign(cells, false);
    m_hiddenCount = 0;
    m_sentValid = false;
    m_eyeInside = false;
    m_positionsValid = false;
    m_writingAll = false;
    m_cut = wantsCutCells(m_eyeInside);

    GLuint names[2] = {0, 0};
    gl.genBuffers(2, names);
    m_positions = names[0];
    m_colours = names[1];
    while (glGetError() != GL_NO_ERROR) {
    }
    gl.bindBuffer(GL_ARRAY_BUFFER, m_positions);
    gl.bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(cells * kCorners * positionBytes()), nullptr,
                  GL_DYNAMIC_DRAW);
    gl.bindBuffer(GL_ARRAY_BUFFER, m_colours);
    gl.bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(cells * kCorners * sizeof(Rgba8)), nullptr,
                  GL_DYNAMIC_DRAW);
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    if (glGetError() == GL_OUT_OF_MEMORY) {
        logMessage("Unable to draw cells: out of memory for %zu cells", cells);
        release();
        return false;
    }
    m_built = true;
    return true;
}

bool SDCellBatch::beginUpdate(bool everyCell) {
    if (!m_built) {
        return false;
    }
    if (m_solidFaces) {
        return true;  // cells are kept in memory until the draw sends their faces
    }
    m_writingAll = everyCell;
    if (m_mappedPositions != nullptr) {
        return true;
    }
    const EntryPoints& gl = entryPoints();
    gl.bindBuffer(GL_ARRAY_BUFFER, m_positions);
    m_mappedPositions = gl.mapBuffer(GL_ARRAY_BUFFER, GL_WRITE_ONLY);
    gl.bindBuffer(GL_ARRAY_BUFFER, m_colours);
    m_mappedColours = static_cast<Rgba8*>(gl.mapBuffer(GL_ARRAY_BUFFER, GL_WRITE_ONLY));
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    if (m_mappedPositions == nullptr || m_mappedColours == nullptr) {
        endUpdate();
        return false;
    }
    return true;
}

void SDCellBatch::extent(int axis, const unsigned index[3], float& low, float& high) const {
    const std::vector<float>* at[3] = {&m_placement.xs(), &m_placement.ys(), &m_placement.zs()};
    const std::vector<float>& along = *at[axis];
    const float half = m_placement.getCubeEdge() / 2.0f;
    low = along[index[axis]] - half;
    high = along[index[axis]] + half;
    if (m_flat && axis == 2) {
        // The front face alone: the side faces have no area, the edges along z no length.
        low = high;
        return;
    }
    if (!m_cut || !m_overlaps[static_cast<size_t>(axis)]) {
        return;
    }
    // Cells on the block's edges stay whole: the block's outline keeps the cubes' own edges.
    for (size_t a = 0; a < 3; ++a) {
        if (m_overlaps[a] && (index[a] == 0 || index[a] + 1 == at[a]->size())) {
            return;
        }
    }
    // Cut at the next cube's near face: that cube is drawn later and covers the rest.
    high = std::min(high, along[index[axis] + 1] - half);
}

bool SDCellBatch::fitsQuarters(const SDCellPlacement& placement) {
    const float half = placement.getCubeEdge() / 2.0f;
    for (const std::vector<float>* along : {&placement.xs(), &placement.ys(), &placement.zs()}) {
        for (float at : *along) {
            // The same float operations writePositions makes; times 4 is exact.
            for (float v : {at - half, at, at + half}) {
                const float quarters = v * 4.0f;
                if (!(std::fabs(quarters) <= 32767.0f) || std::nearbyint(quarters) != quarters) {
                    return false;
                }
            }
        }
    }
    return true;
}

void SDCellBatch::writePositions(size_t cell) {
    const unsigned length = m_placement.getLength();
    const unsigned height = m_placement.getHeight();
    const unsigned index[3] = {static_cast<unsigned>(cell / length / height),
                               static_cast<unsigned>(cell / length % height),
                               static_cast<unsigned>(cell % length)};
    float corners[kCorners * 3];
    if (m_hidden[cell]) {
        // Left out: every corner on the centre, so each triangle has no area.
        const Vector3 centre = m_placement.localCentre(index[0], index[1], index[2]);
        for (size_t k = 0; k < kCorners; ++k) {
            corners[3 * k] = centre.x;
            corners[3 * k + 1] = centre.y;
            corners[3 * k + 2] = centre.z;
        }
    } else {
        float low[3];
        float high[3];
        for (int axis = 0; axis < 3; ++axis) {
            extent(axis, index, low[axis], high[axis]);
        }
        for (size_t k = 0; k < kCorners; ++k) {
            for (int axis = 0; axis < 3; ++axis) {
                corners[3 * k + static_cast<size_t>(axis)] = (k >> axis & 1) != 0 ? high[axis] : low[axis];
            }
        }
    }
    if (!m_quarters) {
        std::copy_n(corners, kCorners * 3, static_cast<float*>(m_mappedPositions) + cell * kCorners * 3);
        return;
    }
    GLshort* out = static_cast<GLshort*>(m_mappedPositions) + cell * kCorners * 3;
    for (size_t i = 0; i < kCorners * 3; ++i) {
        out[i] = static_cast<GLshort>(std::lround(corners[i] * 4.0f));
    }
}

void SDCellBatch::vertexPointer(size_t base) const {
    const void* first = reinterpret_cast<const void*>(base * positionBytes());
    glVertexPointer(3, m_quarters ? GL_SHORT : GL_FLOAT, 0, first);
}

void SDCellBatch::setCell(size_t cell, Rgba8 colour) {
    if (m_solidFaces) {
        m_solidFaces->setCell(cell, SDSolidFaces::Rgba8{colour.r, colour.g, colour.b, colour.a});
        return;
    }
    if (m_mappedPositions == nullptr || cell >= m_placement.cellCount()) {
        return;
    }
    const bool hidden = colour.a == 0;
    if (hidden != m_hidden[cell]) {
        m_hidden[cell] = hidden;
        m_hiddenCount += hidden ? 1 : static_cast<size_t>(-1);
        m_sentValid = false;
        writePositions(cell);
    } else if (m_writingAll || !m_positionsValid) {
        writePositions(cell);
    }
    std::fill_n(m_mappedColours + cell * kCorners, kCorners, colour);
}

bool SDCellBatch::rewriteAllPositions() {
    const EntryPoints& gl = entryPoints();
    gl.bindBuffer(GL_ARRAY_BUFFER, m_positions);
    m_mappedPositions = gl.mapBuffer(GL_ARRAY_BUFFER, GL_WRITE_ONLY);
    if (m_mappedPositions == nullptr) {
        gl.bindBuffer(GL_ARRAY_BUFFER, 0);
        return false;
    }
    for (size_t cell = 0; cell < m_placement.cellCount(); ++cell) {
        writePositions(cell);
    }
    gl.unmapBuffer(GL_ARRAY_BUFFER);
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    m_mappedPositions = nullptr;
    return true;
}

void SDCellBatch::endUpdate() {
    if (m_solidFaces) {
        return;  // the faces take the cells' changes at the next draw
    }
    const EntryPoints& gl = entryPoints();
    if (m_mappedPositions != nullptr) {
        gl.bindBuffer(GL_ARRAY_BUFFER, m_positions);
        gl.unmapBuffer(GL_ARRAY_BUFFER);
        m_mappedPositions = nullptr;
    }
    if (m_mappedColours != nullptr) {
        gl.bindBuffer(GL_ARRAY_BUFFER, m_colours);
        gl.unmapBuffer(GL_ARRAY_BUFFER);
        m_mappedColours = nullptr;
    }
    if (gl.buffers) {
        gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    }
    if (m_writingAll) {
        m_positionsValid = true;
        m_writingAll = false;
    }
    // Cells are cut only while none is hidden: a hidden cell would leave a hole that the cubes drawn
    // before it used to fill.
    if (m_built && (m_cut != wantsCutCells(m_eyeInside) || !m_positionsValid)) {
        m_cut = wantsCutCells(m_eyeInside);
        m_positionsValid = rewriteAllPositions();
    }
}

void SDCellBatch::setFlat(bool flat) {
    if (flat == m_flat) {
        return;
    }
    m_flat = flat;
    // Positions not written yet are written flat by the first update.
    if (m_built && m_positionsValid && m_mappedPositions == nullptr) {
        m_positionsValid = rewriteAllPositions();
    }
}

void SDCellBatch::segments(int axis, bool eyeKnown, float eye, std::vector<Segment>& out) const {
    out.clear();
    const unsigned count = axis == 0   ? m_placement.getWidth()
                           : axis == 1 ? m_placement.getHeight()
                                       : m_placement.getLength();
    // The faces the eye may see: the high face of cells wholly below the eye, the low face of cells wholly
    // above it, and for cells whose faces are too close to the eye to tell, both (the GL culls).
    unsigned below = 0;
    unsigned above = count;
    if (eyeKnown) {
        // The planes of whole cubes: where cells are cut, only faces of whole cells (on the block's
        // edges) are sent.
        const std::vector<float>& along = axis == 0   ? m_placement.xs()
                                          : axis == 1 ? m_placement.ys()
                                                      : m_placement.zs();
        const float half = m_placement.getCubeEdge() / 2.0f;
        const float slack = 1e-4f * (1.0f + std::fabs(eye));
        auto planeLow = [&](unsigned i) { return along[i] - half; };
        auto planeHigh = [&](unsigned i) { return along[i] + half; };
        // Both planes grow with the index: binary searches.
        unsigned lo = 0;
        unsigned hi = count;
        while (lo < hi) {
            const unsigned mid = lo + (hi - lo) / 2;
            if (eye - planeHigh(mid) > slack) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        below = lo;
        lo = below;
        hi = count;
        while (lo < hi) {
            const unsigned mid = lo + (hi - lo) / 2;
            if (planeLow(mid) - eye > slack) {
                hi = mid;
            } else {
                lo = mid + 1;
            }
        }
        above = lo;
    }
    // Where cut cells meet, only the block's own outer faces can show.
    const bool inner = m_cut && m_overlaps[static_cast<size_t>(axis)];
    auto allowed = [&](unsigned i) {
        if (!inner) {
            return kHigh | kLow;
        }
        return (i + 1 == count ? kHigh : 0u) | (i == 0 ? kLow : 0u);
    };
    const unsigned cuts[] = {0, 1, below, above, count - 1, count};
    std::vector<unsigned> bounds(cuts, cuts + 6);
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    for (size_t b = 0; b + 1 < bounds.size(); ++b) {
        const unsigned first = bounds[b];
        const unsigned last = bounds[b + 1];
        if (first >= last || last > count) {
            continue;
        }
        unsigned faces = first < below ? kHigh : first >= above ? kLow : (kHigh | kLow);
        const bool sure = eyeKnown && (first < below || first >= above);
        faces &= allowed(first);
        if (!out.empty() && out.back().faces == faces && out.back().sure == sure &&
            out.back().last == first) {
            out.back().last = last;
        } else {
            out.push_back(Segment{first, last, faces, sure});
        }
    }
}

const SDCellBatch::Pattern* SDCellBatch::pattern(unsigned key) {
    auto found = m_patterns.find(key);
    if (found != m_patterns.end()) {
        return &found->second;
    }
    const std::vector<GLushort> one = cellIndices(key);
    const size_t cells = std::min(m_placement.cellCount(), kChunkCells);
    std::vector<GLushort> indices(one.size() * cells);
    for (size_t cell = 0; cell < cells; ++cell) {
        for (size_t i = 0; i < one.size(); ++i) {
            indices[cell * one.size() + i] = static_cast<GLushort>(cell * kCorners + one[i]);
        }
    }
    const EntryPoints& gl = entryPoints();
    Pattern made;
    made.perCell = one.size();
    gl.genBuffers(1, &made.buffer);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, made.buffer);
    gl.bufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLushort)),
                  indices.data(), GL_STATIC_DRAW);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    return &m_patterns.emplace(key, made).first->second;
}

void SDCellBatch::refreshSent() {
    m_sent.clear();
    const size_t cells = m_placement.cellCount();
    size_t spanFirst = 0;
    size_t cell = 0;
    while (cell < cells) {
        if (!m_hidden[cell]) {
            ++cell;
            continue;
        }
        size_t end = cell;
        while (end < cells && m_hidden[end]) {
            ++end;
        }
        // Hidden cells at either end of the block are never worth sending.
        if (end - cell >= kSkippedRun || cell == 0 || end == cells) {
            if (cell > spanFirst) {
                m_sent.push_back(Span{spanFirst, cell});
            }
            spanFirst = end;
        }
        cell = end;
    }
    if (cells > spanFirst) {
        m_sent.push_back(Span{spanFirst, cells});
    }
    m_sentValid = true;
}

void SDCellBatch::addRun(unsigned key, size_t first, size_t count) {
    if (m_hiddenCount == 0) {
        addSentRun(key, first, count);
        return;
    }
    const size_t last = first + count;
    auto span = std::upper_bound(m_sent.begin(), m_sent.end(), first,
                                 [](size_t cell, const Span& s) { return cell < s.last; });
    for (; span != m_sent.end() && span->first < last; ++span) {
        const size_t from = std::max(first, span->first);
        const size_t to = std::min(last, span->last);
        addSentRun(key, from, to - from);
    }
}

void SDCellBatch::addSentRun(unsigned key, size_t first, size_t count) {
    if (!m_shaded) {
        appendRuns(m_lists[key], pattern(key)->perCell, first, count);
        return;
    }
    // One list per face direction, each drawn with its own shade.
    for (unsigned face = 0; face < 6; ++face) {
        const unsigned single = 1u << face;
        if ((key & single) != 0) {
            appendRuns(m_lists[single], pattern(single)->perCell, first, count);
        }
    }
}

void SDCellBatch::appendRuns(DrawList& list, size_t perCell, size_t first, size_t count) {
    while (count > 0) {
        const size_t chunk = first / kChunkCells;
        const size_t inChunk = first % kChunkCells;
        const size_t cells = std::min(count, kChunkCells - inChunk);
        list.counts.push_back(static_cast<GLsizei>(cells * perCell));
        list.offsets.push_back(reinterpret_cast<const void*>(inChunk * perCell * sizeof(GLushort)));
        list.bases.push_back(static_cast<GLint>(chunk * kChunkCells * kCorners));
        first += cells;
        count -= cells;
    }
}

bool SDCellBatch::ensureShadeTexture() {
    if (m_shadeTexture != 0) {
        return true;
    }
    GLubyte texels[kShadeTexels][4] = {};
    for (int face = 0; face < kShadeTexels; ++face) {
        const GLubyte level = toByte(face < 6 ? kFaceShade[face] : 1.0f);
        texels[face][0] = texels[face][1] = texels[face][2] = level;
        texels[face][3] = 255;
    }
    glGenTextures(1, &m_shadeTexture);
    if (m_shadeTexture == 0) {
        return false;
    }
    glBindTexture(GL_TEXTURE_2D, m_shadeTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kShadeTexels, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    return true;
}

void SDCellBatch::drawInParts(GLenum mode, const DrawList& list, size_t& sentSinceFinish) {
    const EntryPoints& gl = entryPoints();
    size_t first = 0;
    while (first < list.counts.size()) {
        size_t last = first;
        size_t indices = 0;
        while (last < list.counts.size() &&
               sentSinceFinish + indices + static_cast<size_t>(list.counts[last]) <= m_partIndices) {
            indices += static_cast<size_t>(list.counts[last]);
            ++last;
        }
        if (last == first) {
            if (sentSinceFinish > 0) {
                glFinish();
                sentSinceFinish = 0;
                continue;
            }
            indices = static_cast<size_t>(list.counts[last]);
            ++last;  // one run larger than a part on its own
        }
        gl.multiDrawBaseVertex(mode, list.counts.data() + first, GL_UNSIGNED_SHORT,
                               list.offsets.data() + first, static_cast<GLsizei>(last - first),
                               list.bases.data() + first);
        ++g_drawCalls;
        g_indicesSent += indices;
        sentSinceFinish += indices;
        first = last;
    }
}

void SDCellBatch::drawEdges(size_t& sentSinceFinish) {
    // Only the cells drawn: a hidden cell's corners meet in one point, which a line could still light.
    m_edgeList.counts.clear();
    m_edgeList.offsets.clear();
    m_edgeList.bases.clear();
    const size_t perCell = pattern(kEdges)->perCell;
    const size_t cells = m_placement.cellCount();
    for (size_t cell = 0; cell < cells;) {
        if (m_hidden[cell]) {
            ++cell;
            continue;
        }
        size_t end = cell;
        while (end < cells && !m_hidden[end]) {
            ++end;
        }
        appendRuns(m_edgeList, perCell, cell, end - cell);
        cell = end;
    }
    if (m_edgeList.counts.empty()) {
        return;
    }
    const EntryPoints& gl = entryPoints();
    glDisableClientState(GL_COLOR_ARRAY);
    glColor4fv(kEdgeColour);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_patterns.at(kEdges).buffer);
    gl.bindBuffer(GL_ARRAY_BUFFER, m_positions);
    if (gl.multiDrawBaseVertex != nullptr) {
        // One call however many runs the hidden cells cut the block into (a million cells take a few).
        vertexPointer(0);
        drawInParts(GL_LINES, m_edgeList, sentSinceFinish);
        return;
    }
    for (size_t run = 0; run < m_edgeList.counts.size(); ++run) {
        const size_t base = static_cast<size_t>(m_edgeList.bases[run]);
        vertexPointer(base);
        glDrawElements(GL_LINES, m_edgeList.counts[run], GL_UNSIGNED_SHORT, m_edgeList.offsets[run]);
        ++g_drawCalls;
        g_indicesSent += static_cast<unsigned long long>(m_edgeList.counts[run]);
    }
}

bool SDCellBatch::beginLook() {
    if (m_shaded || m_outlined) {
        glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT | GL_LINE_BIT);
    }
    const bool shade = m_shaded && ensureShadeTexture();
    if (shade) {
        // The texel of a face direction multiplies the cells' colours, alpha kept.
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, m_shadeTexture);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    if (m_outlined) {
        // The faces step back a little, so the edges on them win the depth test.
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1.0f, 1.0f);
        glLineWidth(1.0f);
    }
    return shade;
}

void SDCellBatch::drawSolid(bool eyeKnown, const float eye[3]) {
    const bool extras = m_shaded || m_outlined;
    const bool shade = beginLook();
    glEnable(GL_BLEND);
    SDSolidFaces::Look look;
    look.shaded = shade;
    look.outlined = m_outlined;
    look.flat = m_flat;
    unsigned long calls = 0;
    unsigned long long indices = 0;
    m_solidFaces->draw(look, eyeKnown, eye, calls, indices);
    g_drawCalls += calls;
    g_indicesSent += indices;
    glDisable(GL_BLEND);
    if (extras) {
        glPopAttrib();
    }
}

void SDCellBatch::draw() {
    if (!m_built) {
        return;
    }
    if (m_mappedPositions != nullptr || m_mappedColours != nullptr) {
        endUpdate();
    }
    // The cubes are written in the block's own frame; the eye is then read in it too.
    float frame[16];
    m_placement.frameMatrix(frame);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(frame);
    float eye[3] = {0.0f, 0.0f, 0.0f};
    const bool eyeKnown = currentEye(eye);
    if (m_solidFaces) {
        drawSolid(eyeKnown, eye);
        glPopMatrix();
        return;
    }
    // From inside a block whose cubes overlap, faces inside it show: then whole cubes are drawn.
    if (m_touching) {
        const BoundingBox bounds = m_placement.localBounds();
        const float slack = 1e-3f;
        m_eyeInside =
            !eyeKnown || (eye[0] > bounds.getMin().x - slack && eye[0] < bounds.getMax().x + slack &&
                          eye[1] > bounds.getMin().y - slack && eye[1] < bounds.getMax().y + slack &&
                          eye[2] > bounds.getMin().z - slack && eye[2] < bounds.getMax().z + slack);
        if (m_cut != wantsCutCells(m_eyeInside)) {
            m_cut = wantsCutCells(m_eyeInside);
            m_positionsValid = rewriteAllPositions();
        }
    }
    for (int axis = 0; axis < 3; ++axis) {
        segments(axis, eyeKnown, eye[axis], m_segments[static_cast<size_t>(axis)]);
    }
    if (!m_sentValid) {
        refreshSent();
    }
    for (auto& [key, list] : m_lists) {
        list.counts.clear();
        list.offsets.clear();
        list.bases.clear();
    }
    const size_t height = m_placement.getHeight();
    const size_t length = m_placement.getLength();
    for (const Segment& x : m_segments[0]) {
        for (const Segment& y : m_segments[1]) {
            for (const Segment& z : m_segments[2]) {
                // A flat cell is its front (or, from behind, back) face alone.
                unsigned key = m_flat ? z.faces << 4 : x.faces | y.faces << 2 | z.faces << 4;
                if (key == 0) {
                    continue;
                }
                // Cubes that stand apart, each showing three faces for sure: their outline.
                const bool single =
                    x.faces != (kHigh | kLow) && y.faces != (kHigh | kLow) && z.faces != (kHigh | kLow);
                if (!m_touching && !m_shaded && !m_outlined && x.sure && y.sure && z.sure && single &&
                    x.faces != 0 && y.faces != 0 && z.faces != 0) {
                    key |= kOutline;
                }
                // The cells of the box of segments, as runs in the order they are stored.
                if (y.first == 0 && y.last == height && z.first == 0 && z.last == length) {
                    addRun(key, x.first * height * length, (x.last - x.first) * height * length);
                } else if (z.first == 0 && z.last == length) {
                    for (size_t i = x.first; i < x.last; ++i) {
                        addRun(key, (i * height + y.first) * length, (y.last - y.first) * length);
                    }
                } else {
                    for (size_t i = x.first; i < x.last; ++i) {
                        for (size_t j = y.first; j < y.last; ++j) {
                            addRun(key, (i * height + j) * length + z.first, z.last - z.first);
                        }
                    }
                }
            }
        }
    }

    if (m_quarters) {
        // Corners stored in quarter units (see fitsQuarters): scaling the matrix by a power of two is
        // exact, so every transformed coordinate is the float the corner stored as a float gives.
        glScalef(0.25f, 0.25f, 0.25f);
    }
    const EntryPoints& gl = entryPoints();
    const bool extras = m_shaded || m_outlined;
    const bool shade = beginLook();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnable(GL_BLEND);
    // A frame of cells small enough to bin whole is sent whole: waiting between parts costs time, as the
    // driver can no longer bin one part while it draws the last.
    size_t frameIndices = m_outlined ? getShownCount() * 24 : 0;
    for (const auto& [key, list] : m_lists) {
        for (GLsizei count : list.counts) {
            frameIndices += static_cast<size_t>(count);
        }
    }
    m_partIndices = frameIndices > 2 * g_indicesPerPart ? g_indicesPerPart : SIZE_MAX;
    size_t sentSinceFinish = 0;
    for (const auto& [key, list] : m_lists) {
        if (list.counts.empty()) {
            continue;
        }
        if (shade) {
            int face = 0;
            while (face < 5 && (key & (1u << face)) == 0) {
                ++face;
            }
            const int texel = worldFace(m_placement, face);
            glTexCoord2f((static_cast<float>(texel) + 0.5f) / kShadeTexels, 0.5f);
        }
        gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_patterns.at(key).buffer);
        if (gl.multiDrawBaseVertex != nullptr) {
            gl.bindBuffer(GL_ARRAY_BUFFER, m_positions);
            vertexPointer(0);
            gl.bindBuffer(GL_ARRAY_BUFFER, m_colours);
            glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
            drawInParts(GL_TRIANGLES, list, sentSinceFinish);
            continue;
        }
        // Without base vertices each run points the arrays at its own chunk's first corner.
        for (size_t run = 0; run < list.counts.size(); ++run) {
            const size_t base = static_cast<size_t>(list.bases[run]);
            gl.bindBuffer(GL_ARRAY_BUFFER, m_positions);
            vertexPointer(base);
            gl.bindBuffer(GL_ARRAY_BUFFER, m_colours);
            glColorPointer(4, GL_UNSIGNED_BYTE, 0, reinterpret_cast<const void*>(base * sizeof(Rgba8)));
            glDrawElements(GL_TRIANGLES, list.counts[run], GL_UNSIGNED_SHORT, list.offsets[run]);
            ++g_drawCalls;
            g_indicesSent += static_cast<unsigned long long>(list.counts[run]);
        }
    }
    if (m_outlined) {
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_POLYGON_OFFSET_FILL);
        glLineWidth(1.0f);
        drawEdges(sentSinceFinish);
    }
    glDisable(GL_BLEND);
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (extras) {
        glPopAttrib();
    }
    glPopMatrix();
}

size_t SDCellBatch::getBufferBytes() const {
    if (!m_built) {
        return 0;
    }
    if (m_solidFaces) {
        return m_solidFaces->getBufferBytes();
    }
    size_t bytes = m_placement.cellCount() * kCorners * (positionBytes() + sizeof(Rgba8));
    for (const auto& [key, pattern] : m_patterns) {
        bytes += pattern.perCell * std::min(m_placement.cellCount(), kChunkCells) * sizeof(GLushort);
    }
    return bytes;
}

unsigned long SDCellBatch::drawCallCount() {
    return g_drawCalls;
}

unsigned long long SDCellBatch::indexCount() {
    return g_indicesSent;
}

void SDCellBatch::setIndicesPerPart(size_t indices) {
    g_indicesPerPart = indices > 0 ? indices : kIndicesPerPart;
}

void SDCellBatch::resetDrawCallCount() {
    g_drawCalls = 0;
    g_indicesSent = 0;
}
