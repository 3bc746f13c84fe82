#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include "scene/SDCellPlacement.h"

// What the batches of cells share of OpenGL: the entry points beyond 1.1, the faces of a cube as
// triangles, the eye read from the current matrices, and a face's direction in the world.
namespace cellgl {

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

// The shade texture's width: one texel per face direction, and room.
constexpr int kShadeTexels = 8;
// The colour of cubes' edges: dark enough to part cubes of any colour, not black, so they do not read as
// holes.
constexpr GLfloat kEdgeColour[4] = {0.08f, 0.08f, 0.08f, 1.0f};

// Fetched on the first call made with a current context.
const EntryPoints& entryPoints();

// Corner k of a cube lies on the high side in x when bit 1 is set, in y with bit 2, in z with bit 4. Two
// triangles per face, counter-clockwise seen from outside, as a solid cube's faces are wound for
// back-face culling. By axis, then high side before low side.
extern const GLushort kFaces[3][2][6];

// The eye in world coordinates from the current matrices; false unless the projection is a perspective
// one and the modelview can be inverted (then every face that might show is sent).
bool currentEye(float eye[3]);

// The face direction (index into SDCellBatch::kFaceShade) in the world of a face of the block's own
// frame: a block turned into the world must light its world top, not its local +y.
int worldFace(const SDCellPlacement& placement, int localFace);

}  // namespace cellgl
