#pragma once

#include "scene/BoundingBox.h"

// Thin lines along the twelve edges of a box, a little outside it so that they never fight with the faces
// of the cubes on its edges: the extent of a block some of whose cells are left out.
class SDOutlineBox {
  public:
    // Mid grey: apart from the dark edges of outlined cubes and from bright marks, and seen on black.
    static constexpr float kGrey = 0.55f;
    // How far outside the box the lines stand, in world units.
    static constexpr float kMargin = 0.05f;

    // Needs a current GL context; leaves the GL state as it found it.
    static void draw(const BoundingBox& box);
};
