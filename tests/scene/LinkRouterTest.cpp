// Coupling lines through a frame: axis-parallel, from end to end, never through a block.
#include "scene/SDLinkRouter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Point = SDLinkRouter::Point;
using Rect = SDLinkRouter::Rect;

// What is wrong with a path, or empty: each segment level or upright, and none through a box's inside.
std::string fault(const std::vector<Point>& path, const std::vector<Rect>& boxes) {
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        const Point& a = path[i];
        const Point& b = path[i + 1];
        if (a.x != b.x && a.y != b.y) {
            return "segment " + std::to_string(i) + " is slanted";
        }
        const float x1 = std::min(a.x, b.x);
        const float x2 = std::max(a.x, b.x);
        const float y1 = std::min(a.y, b.y);
        const float y2 = std::max(a.y, b.y);
        for (size_t j = 0; j < boxes.size(); ++j) {
            const Rect& box = boxes[j];
            const bool acrossX =
                a.y == b.y ? std::max(x1, box.x1) < std::min(x2, box.x2) : x1 > box.x1 && x1 < box.x2;
            const bool acrossY =
                a.x == b.x ? std::max(y1, box.y1) < std::min(y2, box.y2) : y1 > box.y1 && y1 < box.y2;
            if (acrossX && acrossY) {
                return "segment " + std::to_string(i) + " enters box " + std::to_string(j);
            }
        }
    }
    return "";
}

struct Case {
    const char* what;
    Rect area;
    std::vector<Rect> boxes;
    Point from;
    Point to;
    size_t corners;  // points of the path, both ends counted; 0: no path
};

TEST(LinkRouterTest, PathsRunBetweenAndAroundBlocksOrAreRefused) {
    const Rect area{-5.0f, -5.0f, 10.0f, 5.0f};
    const std::vector<Case> cases = {
        {"an empty frame: straight across", area, {}, {0, 0}, {4, 0}, 2},
        {"side by side, ports level: straight across the gap",
         area,
         {{0, 0, 2, 2}, {4, 0, 6, 2}},
         {2.35f, 1},
         {3.65f, 1},
         2},
        // Up or down to the lane halfway between the box and the frame, along, and back.
        {"a block in the way: around it", area, {{1, -1, 3, 1}}, {0, 0}, {4, 0}, 4},
        // Leaves the right block to the right, over or under both, and enters the left one from its left.
        {"backwards from the right block to the left one",
         {-2, -2, 8, 5},
         {{0, 0, 2, 2}, {4, 0, 6, 2}},
         {6.35f, 1},
         {-0.35f, 1},
         4},
        {"ports at different heights: along, across the gap, along",
         area,
         {{0, 0, 2, 2}, {4, -2, 6, 0}},
         {2.35f, 1},
         {3.65f, -1},
         4},
        // A frame held in a frame is one box: its own children lie inside it.
        {"from a frame inside the frame to a block beside it",
         {0, 0, 20, 10},
         {{2, 2, 8, 8}, {12, 3, 14, 5}, {12, 6, 14, 9}},
         {8.35f, 7},
         {11.65f, 4},
         4},
        {"a wall from edge to edge: no path", {0, 0, 10, 10}, {{4, 0, 5, 10}}, {1, 5}, {8, 5}, 0},
        {"a start inside a block: no path", area, {{1, -1, 3, 1}}, {2, 0}, {4, 0}, 0},
        {"an end outside the frame: no path", area, {}, {0, 0}, {12, 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<Point> path = SDLinkRouter(c.area, c.boxes).route(c.from, c.to);
        ASSERT_EQ(c.corners, path.size());
        if (path.empty()) {
            continue;
        }
        EXPECT_EQ(c.from.x, path.front().x);
        EXPECT_EQ(c.from.y, path.front().y);
        EXPECT_EQ(c.to.x, path.back().x);
        EXPECT_EQ(c.to.y, path.back().y);
        EXPECT_EQ("", fault(path, c.boxes));
        for (const Point& p : path) {
            EXPECT_TRUE(p.x >= c.area.x1 && p.x <= c.area.x2 && p.y >= c.area.y1 && p.y <= c.area.y2);
        }
    }
}

TEST(LinkRouterTest, AFrameOfTooManyBlocksGetsNoPath) {
    std::vector<Rect> boxes;
    for (size_t i = 0; i <= SDLinkRouter::kMostBoxes; ++i) {
        const float x = static_cast<float>(i) * 3.0f;
        boxes.push_back(Rect{x, 0, x + 1, 1});
    }
    EXPECT_TRUE(SDLinkRouter({-1, -1, 3000, 5}, boxes).route({-0.5f, 3}, {2000, 3}).empty());
    boxes.pop_back();
    EXPECT_EQ(2u, SDLinkRouter({-1, -1, 3000, 5}, boxes).route({-0.5f, 3}, {2000, 3}).size());
}

}  // namespace
