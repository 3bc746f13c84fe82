#pragma once

#include <vector>

#include "scene/SDCellPlacement.h"
#include "scene/Vector3.h"

// The z layers of a cell space as a grid of 2D maps: each layer brought to the place of layer 0, then laid
// in rows of `columns` maps, z = 0 at the top left, then left to right and row after row downwards, one
// empty cell between neighbouring maps. Applied on top of wherever the layout puts the block, so a layer
// keeps its cells' arrangement.
class SDCellLayers {
  public:
    // The count of maps a row holds that gives the cells the most room in a picture of width over height
    // `aspect`: the grid as near the picture's shape as the empty places and gaps allow. Of equal ones,
    // the fewest columns.
    static unsigned columnsFor(const SDCellPlacement& whole, float aspect);
    // How far layer `layer` of `whole` moves in a grid of `columns` maps a row.
    static Vector3 offset(const SDCellPlacement& whole, unsigned layer, unsigned columns);
    // One placement of a single layer per z layer of `whole`, moved as `offset` says; cell (x, y, 0) of
    // placement k is cell (x, y, k) of the block.
    static std::vector<SDCellPlacement> split(const SDCellPlacement& whole, unsigned columns);
};
