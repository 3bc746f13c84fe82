#include "scene/SDCellBatch.h"

#include <GL/glext.h>
#include <GL/glx.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "shell/Log.h"

namespace {

// Buffer objects are OpenGL 1.5 and the base-vertex multi-draw 3.2: both are fetched from the driver, as
// the system header declares only OpenGL 1.1.
struct EntryPoints {
    PFNGLGENBUFFERSPROC genBuffers = nullptr;
    PFNGLBINDBUFFERPROC bindBuffer = nullptr;
    PFNGLBUFFERDATAPROC bufferData = nullptr;
    PFNGLDELETEBUFFERSPROC deleteBuffers = nullptr;
    PFNGLMAPBUFFERPROC mapBuffer = nullptr;
    PFNGLUNMAPBUFFERPROC unmapBuffer = nullptr;
    PFNGLMULTIDRAWELEMENTSBASEVERTEXPROC multiDrawBaseVertex = nullptr;
    bool buffers = false;
};

template <typename T>
void fetch(T& entry, const char* name) {
    entry = reinterpret_cast<T>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

// The context's version as major * 10 + minor, 0 when it cannot be read.
int contextVersion() {
    const char* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    int minor = 0;
    if (text == nullptr || std::sscanf(text, "%d.%d", &major, &minor) != 2) {
        return 0;
    }
    return major * 10 + minor;
}

bool hasExtension(const char* name) {
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (list == nullptr) {
        return false;
    }
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) {
            return true;
        }
    }
    return false;
}

// Fetched on the first call made with a current context.
const EntryPoints& entryPoints() {
    static EntryPoints entries;
    static bool fetched = false;
    if (!fetched && glGetString(GL_VERSION) != nullptr) {
        fetched = true;
        const int version = contextVersion();
        if (version >= 15) {
            fetch(entries.genBuffers, "glGenBuffers");
            fetch(entries.bindBuffer, "glBindBuffer");
            fetch(entries.bufferData, "glBufferData");
            fetch(entries.deleteBuffers, "glDeleteBuffers");
            fetch(entries.mapBuffer, "glMapBuffer");
            fetch(entries.unmapBuffer, "glUnmapBuffer");
            entries.buffers = entries.genBuffers != nullptr && entries.bindBuffer != nullptr &&
                              entries.bufferData != nullptr && entries.deleteBuffers != nullptr &&
                              entries.mapBuffer != nullptr && entries.unmapBuffer != nullptr;
        }
        if (version >= 32 || hasExtension("GL_ARB_draw_elements_base_vertex")) {
            fetch(entries.multiDrawBaseVertex, "glMultiDrawElementsBaseVertex");
        }
    }
    return entries;
}

unsigned long g_drawCalls = 0;

constexpr size_t kCorners = 8;
constexpr size_t kIndicesPerCell = 36;

// Corner k lies on the high side in x when bit 1 is set, in y with bit 2, in z with bit 4. Two triangles
// per face, counter-clockwise seen from outside, as a solid cube's faces are wound for back-face culling.
constexpr GLushort kCubeIndices[kIndicesPerCell] = {
    1, 3, 7, 1, 7, 5,  // +x
    0, 4, 6, 0, 6, 2,  // -x
    2, 6, 7, 2, 7, 3,  // +y
    0, 1, 5, 0, 5, 4,  // -y
    4, 5, 7, 4, 7, 6,  // +z
    0, 2, 3, 0, 3, 1,  // -z
};

uint8_t toByte(float component) {
    // NaN reads as 0.
    const float clamped = component > 0.0f ? std::min(component, 1.0f) : 0.0f;
    return static_cast<uint8_t>(std::lround(clamped * 255.0f));
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
    if (m_positions != 0 || m_colours != 0 || m_indices != 0) {
        if (m_mappedPositions != nullptr || m_mappedColours != nullptr) {
            endUpdate();
        }
        const GLuint names[3] = {m_positions, m_colours, m_indices};
        entryPoints().deleteBuffers(3, names);  // zero names are ignored
    }
    m_positions = m_colours = m_indices = 0;
    m_indexCells = 0;
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
    GLuint names[3] = {0, 0, 0};
    gl.genBuffers(3, names);
    m_positions = names[0];
    m_colours = names[1];
    m_indices = names[2];

    while (glGetError() != GL_NO_ERROR) {
    }
    gl.bindBuffer(GL_ARRAY_BUFFER, m_positions);
    gl.bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(cells * kCorners * 3 * sizeof(float)), nullptr,
                  GL_DYNAMIC_DRAW);
    gl.bindBuffer(GL_ARRAY_BUFFER, m_colours);
    gl.bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(cells * kCorners * sizeof(Rgba8)), nullptr,
                  GL_DYNAMIC_DRAW);
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);

    m_indexCells = std::min(cells, kChunkCells);
    std::vector<GLushort> pattern(m_indexCells * kIndicesPerCell);
    for (size_t cell = 0; cell < m_indexCells; ++cell) {
        for (size_t i = 0; i < kIndicesPerCell; ++i) {
            pattern[cell * kIndicesPerCell + i] = static_cast<GLushort>(cell * kCorners + kCubeIndices[i]);
        }
    }
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_indices);
    gl.bufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(pattern.size() * sizeof(GLushort)),
                  pattern.data(), GL_STATIC_DRAW);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);

    if (glGetError() == GL_OUT_OF_MEMORY) {
        logMessage("Unable to draw cells: out of memory for %zu cells", cells);
        release();
        return false;
    }
    m_built = true;
    return true;
}

bool SDCellBatch::beginUpdate() {
    if (!m_built) {
        return false;
    }
    if (m_mappedPositions != nullptr) {
        return true;
    }
    const EntryPoints& gl = entryPoints();
    gl.bindBuffer(GL_ARRAY_BUFFER, m_positions);
    m_mappedPositions = static_cast<float*>(gl.mapBuffer(GL_ARRAY_BUFFER, GL_WRITE_ONLY));
    gl.bindBuffer(GL_ARRAY_BUFFER, m_colours);
    m_mappedColours = static_cast<Rgba8*>(gl.mapBuffer(GL_ARRAY_BUFFER, GL_WRITE_ONLY));
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    if (m_mappedPositions == nullptr || m_mappedColours == nullptr) {
        endUpdate();
        return false;
    }
    return true;
}

void SDCellBatch::setCell(size_t cell, Rgba8 colour) {
    if (m_mappedPositions == nullptr || cell >= m_placement.cellCount()) {
        return;
    }
    const Vector3 centre = m_placement.cellCentre(cell);
    float* corner = m_mappedPositions + cell * kCorners * 3;
    if (colour.a == 0) {
        // Left out: every corner on the centre, so each triangle has no area.
        for (size_t k = 0; k < kCorners; ++k) {
            corner[3 * k] = centre.x;
            corner[3 * k + 1] = centre.y;
            corner[3 * k + 2] = centre.z;
        }
    } else {
        const float half = SDCellPlacement::kCubeEdge / 2.0f;
        for (size_t k = 0; k < kCorners; ++k) {
            corner[3 * k] = centre.x + ((k & 1) != 0 ? half : -half);
            corner[3 * k + 1] = centre.y + ((k & 2) != 0 ? half : -half);
            corner[3 * k + 2] = centre.z + ((k & 4) != 0 ? half : -half);
        }
    }
    std::fill_n(m_mappedColours + cell * kCorners, kCorners, colour);
}

void SDCellBatch::endUpdate() {
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
}

void SDCellBatch::draw() {
    if (!m_built) {
        return;
    }
    if (m_mappedPositions != nullptr) {
        endUpdate();
    }
    const EntryPoints& gl = entryPoints();
    const size_t cells = m_placement.cellCount();
    const size_t chunks = (cells + kChunkCells - 1) / kChunkCells;

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_indices);
    glEnable(GL_BLEND);
    if (gl.multiDrawBaseVertex != nullptr) {
        gl.bindBuffer(GL_ARRAY_BUFFER, m_positions);
        glVertexPointer(3, GL_FLOAT, 0, nullptr);
        gl.bindBuffer(GL_ARRAY_BUFFER, m_colours);
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
        std::vector<GLsizei> counts(chunks);
        std::vector<const void*> offsets(chunks, nullptr);
        std::vector<GLint> bases(chunks);
        for (size_t chunk = 0; chunk < chunks; ++chunk) {
            const size_t inChunk = std::min(kChunkCells, cells - chunk * kChunkCells);
            counts[chunk] = static_cast<GLsizei>(inChunk * kIndicesPerCell);
            bases[chunk] = static_cast<GLint>(chunk * kChunkCells * kCorners);
        }
        gl.multiDrawBaseVertex(GL_TRIANGLES, counts.data(), GL_UNSIGNED_SHORT, offsets.data(),
                               static_cast<GLsizei>(chunks), bases.data());
        ++g_drawCalls;
    } else {
        // Without base vertices each run points the arrays at its own first corner.
        for (size_t chunk = 0; chunk < chunks; ++chunk) {
            const size_t first = chunk * kChunkCells * kCorners;
            const size_t inChunk = std::min(kChunkCells, cells - chunk * kChunkCells);
            gl.bindBuffer(GL_ARRAY_BUFFER, m_positions);
            glVertexPointer(3, GL_FLOAT, 0, reinterpret_cast<const void*>(first * 3 * sizeof(float)));
            gl.bindBuffer(GL_ARRAY_BUFFER, m_colours);
            glColorPointer(4, GL_UNSIGNED_BYTE, 0, reinterpret_cast<const void*>(first * sizeof(Rgba8)));
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(inChunk * kIndicesPerCell), GL_UNSIGNED_SHORT,
                           nullptr);
            ++g_drawCalls;
        }
    }
    glDisable(GL_BLEND);
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

size_t SDCellBatch::getBufferBytes() const {
    if (!m_built) {
        return 0;
    }
    return m_placement.cellCount() * kCorners * (3 * sizeof(float) + sizeof(Rgba8)) +
           m_indexCells * kIndicesPerCell * sizeof(GLushort);
}

unsigned long SDCellBatch::drawCallCount() {
    return g_drawCalls;
}

void SDCellBatch::resetDrawCallCount() {
    g_drawCalls = 0;
}
