#pragma once

#include <cstddef>
#include <functional>

#include "scene/Vector3.h"

class SDCellPlacement;

// The cube of a cell space that a line of sight meets first.
struct SDCellHit {
    bool hit = false;
    size_t cell = 0;  // numbered as the placement numbers cells: (x * height + y) * length + z
    unsigned x = 0;
    unsigned y = 0;
    unsigned z = 0;
    float distance = 0.0f;  // along the ray, 0 when it starts inside the cube
};

// The nearest cube of `placement` that the ray from `origin` along `direction` (unit length) enters or
// starts in, among the cells `shown` accepts; the ray passes through the others as if they were not there.
// Only cubes nearer than `within` count. Cubes may overlap: the first one the ray enters wins. `flat`: the
// cells are drawn as squares on their cubes' front faces (SDCellBatch::setFlat), and only those squares
// are hit; a cube's sides would catch rays that pass beside its square.
SDCellHit pickCell(const SDCellPlacement& placement, const Vector3& origin, const Vector3& direction,
                   const std::function<bool(size_t cell)>& shown, float within, bool flat = false);
