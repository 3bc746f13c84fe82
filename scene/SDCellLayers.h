#pragma once

#include <vector>

#include "scene/SDCellPlacement.h"
#include "scene/Vector3.h"

// The z layers of a cell space side by side, like a row of 2D maps: each layer brought to the place of
// layer 0, then layer k moved right by k times the layer's width and one empty cell. Applied on top of
// wherever the layout puts the block, so a layer keeps its cells' arrangement.
class SDCellLayers {
  public:
    // How far layer `layer` of `whole` moves.
    static Vector3 offset(const SDCellPlacement& whole, unsigned layer);
    // One placement of a single layer per z layer of `whole`, moved as `offset` says; cell (x, y, 0) of
    // placement k is cell (x, y, k) of the block.
    static std::vector<SDCellPlacement> split(const SDCellPlacement& whole);
};
