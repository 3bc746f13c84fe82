#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "scene/BoundingBox.h"
#include "scene/SDCellPlacement.h"

// Where the cell spaces of one visualization stand. The model named "life" keeps its box, centred on
// (0, 0, -5) with edges of 20, whose cells are spread over it. Every other model's cells stand one unit
// apart in a block of their own, rows running down, columns to the right and layers towards the viewer
// (SDCellPlacement::rowsDown); the blocks stand in a row to the right of life's box (which is kept free
// whether or not there is such a model), bottoms level with its bottom and fronts with its cells' plane,
// in name order, with a gap between neighbours.
//
// A model keeps its place when the layout is redone, as long as its block (or the grid of its laid-out
// layers) still fits there, so models that a later import adds or grows do not move the others; a model
// that outgrows its place, and every new model, goes to the end of the row.
class SDCellLayout {
  public:
    static constexpr const char* kLifeName = "life";
    static constexpr float kLifeExtent = 20.0f;
    static Vector3 lifeCentre() { return Vector3(0.0f, 0.0f, -5.0f); }
    // The room kept for life's cubes: its box grown by half a cube edge on every side.
    static BoundingBox lifeRoom();

    // Empty cells between neighbouring blocks in the row.
    static constexpr unsigned kGapCells = 2;

    struct Counts {
        unsigned width = 1;
        unsigned height = 1;
        unsigned length = 1;
        // When its z layers are laid out as a grid of maps (SDCellLayers): the maps a row of the grid holds,
        // whose columns the block's place in the row then holds; 0 for the block drawn whole.
        unsigned layerColumns = 0;
        // The edge of the block's cubes (SDCellPlacement::withCubeEdge); life's box keeps its own.
        float cubeEdge = SDCellPlacement::kCubeEdge;
        bool operator==(const Counts& o) const {
            return width == o.width && height == o.height && length == o.length && cubeEdge == o.cubeEdge &&
                   layerColumns == o.layerColumns;
        }
        // The columns of cells its place in the row takes: a map's columns, and one empty column between
        // neighbouring maps.
        unsigned columnsTaken() const;
    };

    // Lays out exactly these models (by name); the placements of models not given are forgotten.
    void place(const std::map<std::string, Counts>& models);

    // Null for a model that is not placed.
    const SDCellPlacement* find(std::string_view name) const;
    const std::map<std::string, SDCellPlacement, std::less<>>& getPlacements() const { return m_placements; }

  private:
    // A block of the row: x of its first column of cells and its width in columns.
    struct Slot {
        double firstColumn = 0.0;
        unsigned width = 0;
    };

    std::map<std::string, Slot> m_slots;
    // Looked up by a name's view every frame: no string is made for it.
    std::map<std::string, SDCellPlacement, std::less<>> m_placements;
};
