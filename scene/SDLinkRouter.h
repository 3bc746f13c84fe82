#pragma once

#include <cstddef>
#include <vector>

// Axis-parallel paths between two points of a plane that keep out of a set of boxes: a coupling's line
// through the free space of a frame, between and around the blocks it holds.
//
// The path runs along lines halfway between neighbouring box edges (the gaps between rows and columns of
// blocks, and between the outer blocks and the area's edge) and along the lines of its two ends; of the
// paths on those lines it takes the shortest, each turn counting as kTurn of length. It leaves its start
// towards +x and reaches its end towards +x, as a line leaves an output port and enters an input port.
class SDLinkRouter {
  public:
    struct Point {
        float x = 0.0f;
        float y = 0.0f;
    };
    struct Rect {
        float x1 = 0.0f;
        float y1 = 0.0f;
        float x2 = 0.0f;
        float y2 = 0.0f;
    };
    // What a turn costs, in lengths: a path of fewer turns is taken over a slightly shorter one.
    static constexpr float kTurn = 1.0f;
    // Boxes beyond this many make the search too costly to run every time a layout changes: no path.
    static constexpr size_t kMostBoxes = 64;

    // The path stays inside `area` and out of the inside of every box (it may run along an edge).
    SDLinkRouter(const Rect& area, std::vector<Rect> boxes);

    // The corners from `from` to `to`, both included; empty when either lies inside a box or outside
    // the area, or no path exists.
    std::vector<Point> route(const Point& from, const Point& to) const;
    // What a route costs, about: the points of the grid it searches.
    size_t cost() const { return (2 * m_boxes.size() + 5) * (2 * m_boxes.size() + 5); }

  private:
    Rect m_area;
    std::vector<Rect> m_boxes;
};
