#pragma once

#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "scene/SDCellPlacement.h"

// The cubes of one cell space in vertex buffers, drawn with the same few GL calls however many cells
// there are: eight corners and one colour per cell, and one index pattern shared by every run of
// kChunkCells cubes (16-bit indices, each run drawn from its own base vertex by one multi-draw).
//
// The cubes are drawn exactly as a lone cube of edge 0.5 is (blending on, the current lighting, the
// triangles' winding), so a batch gives the picture that drawing its cubes one by one gives. A cell whose
// colour has alpha 0 is left out: its corners collapse to one point, so it covers no pixel and writes no
// depth.
//
// Needs the GL context it is built in to be current for every call, the destructor included.
class SDCellBatch {
  public:
    // Cells per run of the shared index pattern: 8 corners each, 65,536 vertices in all.
    static constexpr size_t kChunkCells = 8192;

    struct Rgba8 {
        uint8_t r = 0, g = 0, b = 0, a = 0;
        bool operator==(const Rgba8& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    };
    // Components clamped to 0 .. 1 and rounded to 8 bits, as the framebuffer stores them.
    static Rgba8 toRgba8(const std::array<float, 4>& colour);

    SDCellBatch();
    SDCellBatch(const SDCellBatch&) = delete;
    SDCellBatch& operator=(const SDCellBatch&) = delete;
    ~SDCellBatch();

    // Allocates the buffers for the placement's cells; their looks are undefined until each has been set.
    // False (logged) when the driver lacks vertex buffers or memory.
    bool build(const SDCellPlacement& placement);
    bool isBuilt() const { return m_built; }
    const SDCellPlacement& getPlacement() const { return m_placement; }
    size_t getCellCount() const { return m_placement.cellCount(); }

    // Cell looks are written between beginUpdate and endUpdate. False when the buffers cannot be written.
    bool beginUpdate();
    // `cell` below getCellCount().
    void setCell(size_t cell, Rgba8 colour);
    void endUpdate();

    // Draws every cell that is not left out.
    void draw();

    // Bytes of GL buffer memory the batch holds.
    size_t getBufferBytes() const;

    // GL draw calls issued by all batches since the last reset: what a frame of cells costs in calls.
    static unsigned long drawCallCount();
    static void resetDrawCallCount();

  private:
    void release();

    SDCellPlacement m_placement;
    GLuint m_positions = 0;
    GLuint m_colours = 0;
    GLuint m_indices = 0;
    size_t m_indexCells = 0;  // cells the index pattern covers: min(cells, kChunkCells)
    bool m_built = false;
    float* m_mappedPositions = nullptr;
    Rgba8* m_mappedColours = nullptr;
};
