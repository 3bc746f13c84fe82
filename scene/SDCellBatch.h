#pragma once

#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "scene/SDCellPlacement.h"
#include "scene/SDSolidFaces.h"

// The cubes of one cell space in vertex buffers, drawn with a few GL calls however many cells there are:
// eight corners and one colour per cell, and for each kind of cell outline in use one index pattern shared
// by every run of kChunkCells cells (16-bit indices, each run drawn from its own base vertex by one
// multi-draw).
//
// The picture is the one drawing each cube of edge 0.5 on its own gives (blending on, the current
// lighting, counter-clockwise front faces), with much less for the rasteriser to do:
// - only the faces that can face the eye are sent (the eye is read from the current matrices);
// - cubes that stand apart are sent as their outline seen from the eye (a hexagon of four triangles
//   where three faces show), which covers the same pixels as their faces and keeps them in depth order;
// - where neighbouring cubes touch or overlap along an axis (life's cells once its box holds more than
//   40 along an edge), each cell inside the block is cut to the part of its cube that no cube drawn after
//   it covers, the cells on the block's edges stay whole (so the block's outline is made of the same
//   edges), and faces inside the block are left out. The pixels are those the cubes drawn one by one in
//   cell order would leave, colours included. While any cell of such a block is hidden, or the eye is
//   inside the block, its cells are whole cubes with all their faces.
// Where every corner of a block lies on a quarter unit (cells one unit apart from a corner on a quarter),
// the corners are stored as 16-bit counts of quarters and drawn under a scale of 1/4: each coordinate the
// driver computes is then the same float as from the corner stored as a float, in half the memory.
// A cell whose colour has alpha 0 is left out: its corners collapse to one point, so it covers no pixel
// and writes no depth; long runs of such cells (a slice, a layer, a value rule that hides most cells) are
// not sent at all, so a frame costs what is shown.
//
// Needs the GL context it is built in to be current for every call, the destructor included.
class SDCellBatch {
  public:
    // Cells per run of a shared index pattern: 8 corners each, 65,536 vertices in all.
    static constexpr size_t kChunkCells = 8192;
    // The most cells one batch draws: the most a cell space may hold, up to 2 GiB of buffers (80 or 128
    // bytes a cell). A driver that cannot give that much makes build fail, logged. Every cell of a block
    // standing apart can be seen through the gaps, so memory goes by the cells, not by the faces that show.
    static constexpr size_t kMaxCells = 16777216;
    // Indices sent to the driver between two waits for it (see drawInParts), in frames of more than twice
    // as many: 400,000 triangles, about 40 MB binned by a software driver. 1.5 million drew a million
    // cells 5 % faster for 20 MB more at the peak.
    static constexpr size_t kIndicesPerPart = 1200000;
    // Hidden cells in a row, in storage order, from which they are left out of the draw lists; shorter
    // runs are sent collapsed, which costs the driver less than splitting the lists.
    static constexpr size_t kSkippedRun = 64;

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
    // False (logged) when the driver lacks vertex buffers or memory, or beyond kMaxCells.
    bool build(const SDCellPlacement& placement);
    bool isBuilt() const { return m_built; }
    const SDCellPlacement& getPlacement() const { return m_placement; }
    size_t getCellCount() const { return m_placement.cellCount(); }

    // Cell looks are written between beginUpdate and endUpdate; `everyCell` says that every cell will be
    // set. False when the buffers cannot be written.
    bool beginUpdate(bool everyCell);
    // `cell` below getCellCount(). Only the colour is sent, and the corners when the cell is hidden or
    // shown again.
    void setCell(size_t cell, Rgba8 colour);
    void endUpdate();

    // Draws every cell that is not left out, as seen through the current projection and modelview.
    void draw();

    // Shaded: each face darkened by a fixed factor for its direction (kFaceShade), so that the cubes of a
    // block show their shape; the top face keeps the cell's colour. Outlined: thin dark edges around every
    // cube that is drawn. Either draws every face the eye may see (never the outline of three faces).
    void setShaded(bool shaded) { m_shaded = shaded; }
    bool isShaded() const { return m_shaded; }
    void setOutlined(bool outlined) { m_outlined = outlined; }
    bool isOutlined() const { return m_outlined; }
    // Flat: each cell a square on the front plane of its cube, without side faces, as a map seen head-on
    // shows it (for a single layer along z). Needs the GL context when the batch is built.
    void setFlat(bool flat);
    bool isFlat() const { return m_flat; }
    // The factor of each face direction: +x, -x, +y (top), -y, +z (front), -z.
    static constexpr float kFaceShade[6] = {0.7f, 0.7f, 1.0f, 0.5f, 0.85f, 0.85f};
    // The cells drawn: every cell less those left out.
    size_t getShownCount() const {
        if (!m_built) {
            return 0;
        }
        return m_solidFaces ? m_solidFaces->getShownCount() : m_placement.cellCount() - m_hiddenCount;
    }

    // Bytes of GL buffer memory the batch holds.
    size_t getBufferBytes() const;

    // The indices of one part (kIndicesPerPart unless changed): smaller parts let a test cross the parts'
    // boundaries with a few cells.
    static void setIndicesPerPart(size_t indices);

    // GL draw calls issued, and indices sent, by all batches since the last reset: what a frame of cells
    // costs in calls and in work for the driver.
    static unsigned long drawCallCount();
    static unsigned long long indexCount();
    static void resetDrawCallCount();

  private:
    // The faces of the cells in [first, last) along one axis that are sent: bit 0 the face on the high
    // side, bit 1 the low side. `sure`: the eye is clearly in front of the one face sent.
    struct Segment {
        unsigned first;
        unsigned last;
        unsigned faces;
        bool sure;
    };
    // Cells [first, last) in storage order that are sent: every cell but long runs of hidden ones.
    struct Span {
        size_t first;
        size_t last;
    };
    struct Pattern {
        GLuint buffer = 0;
        size_t perCell = 0;  // indices per cell
    };
    struct DrawList {
        std::vector<GLsizei> counts;
        std::vector<const void*> offsets;
        std::vector<GLint> bases;
    };

    void release();
    // The extent along `axis` of the cell at `index` (its place along each axis) as drawn now.
    void extent(int axis, const unsigned index[3], float& low, float& high) const;
    void writePositions(size_t cell);
    // Whether every corner and centre of the placement is a whole number of quarters that 16 bits hold.
    static bool fitsQuarters(const SDCellPlacement& placement);
    size_t positionBytes() const { return m_quarters ? 3 * sizeof(GLshort) : 3 * sizeof(float); }
    void vertexPointer(size_t base) const;
    bool rewriteAllPositions();
    bool wantsCutCells(bool eyeInside) const {
        return m_touching && !m_solid && m_hiddenCount == 0 && !eyeInside;
    }
    void segments(int axis, bool eyeKnown, float eye, std::vector<Segment>& out) const;
    const Pattern* pattern(unsigned key);
    void refreshSent();
    // Adds the cells [first, first + count) that are sent to the lists of `key`.
    void addRun(unsigned key, size_t first, size_t count);
    void addSentRun(unsigned key, size_t first, size_t count);
    // Adds the cells [first, first + count) to a list of runs of a pattern of `perCell` indices per cell.
    static void appendRuns(DrawList& list, size_t perCell, size_t first, size_t count);
    bool ensureShadeTexture();
    // Draws the runs of `list` with as few calls as the parts allow. A software driver bins every
    // primitive it is sent before it draws them, about 100 bytes a triangle (650 MB for a million cells);
    // waiting for it to finish after each kIndicesPerPart indices bounds that memory (a flush alone only
    // queues more), and the picture is the same: the same primitives in the same order.
    // `sentSinceFinish` carries the count from one list to the next.
    void drawInParts(GLenum mode, const DrawList& list, size_t& sentSinceFinish);
    void drawEdges(size_t& sentSinceFinish);
    // A solid block's faces (m_solidFaces), with the looks set.
    // Pushes the GL state the shading and outlines change (popped by the caller when either is on) and
    // sets it up; whether the faces are shaded.
    bool beginLook();
    void drawSolid(bool eyeKnown, const float eye[3]);

    SDCellPlacement m_placement;
    std::array<bool, 3> m_overlaps{false, false, false};  // neighbours touch or overlap along the axis
    bool m_touching = false;                              // along any axis
    bool m_solid = false;           // every cube meets its neighbours face to face (no gap, no overlap)
    bool m_cut = false;             // the positions hold cut cells
    bool m_quarters = false;        // the positions are GLshort quarters
    bool m_eyeInside = false;       // at the last draw, the eye was inside the block
    bool m_positionsValid = false;  // every cell's corners have been written since the buffers were made
    bool m_writingAll = false;      // the update under way sets every cell
    std::vector<bool> m_hidden;
    size_t m_hiddenCount = 0;
    std::vector<Span> m_sent;  // see Span; rebuilt at a draw after any cell was hidden or shown
    bool m_sentValid = false;
    // A solid block is drawn as the faces that can show (see SDSolidFaces), not by these buffers.
    std::unique_ptr<SDSolidFaces> m_solidFaces;

    bool m_shaded = false;
    bool m_outlined = false;
    bool m_flat = false;
    GLuint m_shadeTexture = 0;  // one texel per face direction, modulating the cells' colours
    DrawList m_edgeList;
    size_t m_partIndices = SIZE_MAX;  // this frame's part (see drawInParts)

    GLuint m_positions = 0;
    GLuint m_colours = 0;
    bool m_built = false;
    void* m_mappedPositions = nullptr;
    Rgba8* m_mappedColours = nullptr;

    std::map<unsigned, Pattern> m_patterns;  // by key: face bits per axis, and whether an outline
    std::map<unsigned, DrawList> m_lists;    // this frame's runs, by key
    std::array<std::vector<Segment>, 3> m_segments;
};
