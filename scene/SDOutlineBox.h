#pragma once

#include "scene/BoundingBox.h"

// Thin lines along the twelve edges of a box: the extent of a block some of whose cells are left out. They
// lie on the edges of the cubes at the box's corners, so a fitted view that holds the cubes holds them;
// drawn after the cubes, they win the depth test there (less or equal).
class SDOutlineBox {
  public:
    // Mid grey: apart from the dark edges of outlined cubes and from bright marks, and seen on black.
    static constexpr float kGrey = 0.55f;

    // Needs a current GL context; leaves the GL state as it found it.
    static void draw(const BoundingBox& box);
};
