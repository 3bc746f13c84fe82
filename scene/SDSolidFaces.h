#pragma once

#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene/SDCellPlacement.h"

// The cubes of a solid cell space (each cube fills its cell and meets its neighbours face to face) as the
// faces that can be seen, in vertex buffers: a face between two drawn, opaque cubes is left out, so memory
// and each frame go by the block's surface and the walls of its holes, not by its cells. A face shows
// when no cube lies against it, or the cube there is hidden (alpha 0) or translucent, or the cube it
// belongs to is translucent; the cell the eye stands in counts as open, so that from inside the block the
// faces around the eye show as the cubes drawn one by one show them.
//
// Faces are kept by direction (+x, -x, +y, -y, +z, -z), each sorted by the plane it lies in, so the faces
// that can face the eye are one run per direction. The faces are worked out again when cells are hidden,
// shown, or turn translucent or opaque; a change of colour alone rewrites only that cell's faces' colours.
//
// Needs the GL context it draws in to be current for every call that touches GL, the destructor included.
class SDSolidFaces {
  public:
    // Faces per run of the shared index pattern: 4 corners each, 65,536 vertices in all.
    static constexpr size_t kChunkFaces = 16384;

    struct Rgba8 {
        uint8_t r = 0, g = 0, b = 0, a = 0;
    };
    struct Look {
        bool shaded = false;    // each direction with its texel of the bound shade texture
        bool outlined = false;  // the edges of every face drawn, in the current colour, after the faces
        bool flat = false;      // only the faces along z, all on the front plane of the cells
    };

    SDSolidFaces() = default;
    SDSolidFaces(const SDSolidFaces&) = delete;
    SDSolidFaces& operator=(const SDSolidFaces&) = delete;
    ~SDSolidFaces();

    // Takes the cells of a solid placement; every cell hidden until set. Needs no GL.
    void build(const SDCellPlacement& placement);
    void setCell(size_t cell, Rgba8 colour);
    // Sends what changed and draws the faces the eye (in the block's frame, when known) may see.
    // Counts the draw calls and indices sent into `calls` and `indices`. False when the driver gave no
    // memory for the buffers (nothing drawn).
    bool draw(const Look& look, bool eyeKnown, const float eye[3], unsigned long& calls,
              unsigned long long& indices);

    size_t getShownCount() const { return m_colours.size() - m_hiddenCount; }
    size_t getFaceCount() const;
    size_t getBufferBytes() const;

  private:
    bool open(size_t cell) const {
        return m_colours[cell].a < 255 || cell == m_eyeCell;  // hidden, translucent or around the eye
    }
    unsigned visibleFaces(size_t cell) const;
    void refreshFaces();
    // The lists of faces and the vertex buffers, made again from the cells.
    bool rebuild(bool flat);
    // The colours of the changed cells' faces written into the buffers.
    void patchColours();
    void writeFace(size_t cell, int direction, bool flat, void* positions, Rgba8* colours) const;
    // The cell holding the eye, or SIZE_MAX when the eye is outside the block (or unknown).
    size_t cellAt(bool eyeKnown, const float eye[3]) const;
    // Plane index (the cell's place along the direction's axis) of the face of `cell`.
    size_t planeOf(size_t cell, int axis) const;
    void releaseBuffers();
    bool ensurePatterns();

    SDCellPlacement m_placement;
    size_t m_counts[3] = {0, 0, 0};
    size_t m_strides[3] = {0, 0, 0};
    bool m_quarters = false;  // positions as GLshort quarters of a unit
    std::vector<Rgba8> m_colours;
    size_t m_hiddenCount = 0;
    std::vector<uint8_t> m_faces;  // per cell: bit 2a the high face along axis a shows, bit 2a + 1 the low
    std::vector<uint32_t> m_stateChanged;
    bool m_facesValid = false;
    std::vector<uint32_t> m_colourChanged;
    bool m_allColours = false;
    size_t m_eyeCell = SIZE_MAX;

    std::array<std::vector<uint32_t>, 6> m_lists;  // by direction: the cells whose face shows
    bool m_listsValid = false;
    bool m_listsFlat = false;
    std::array<GLuint, 6> m_positions{};
    std::array<GLuint, 6> m_colourBuffers{};
    GLuint m_quadPattern = 0;   // two triangles a face, for kChunkFaces faces
    GLuint m_edgePattern = 0;   // four lines a face
    size_t m_patternFaces = 0;  // faces the patterns hold
    std::vector<GLsizei> m_drawCounts;
    std::vector<const void*> m_drawOffsets;
    std::vector<GLint> m_drawBases;
};
