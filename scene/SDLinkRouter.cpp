#include "scene/SDLinkRouter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <queue>
#include <tuple>

namespace {

bool inside(const SDLinkRouter::Rect& box, float x, float y) {
    return x > box.x1 && x < box.x2 && y > box.y1 && y < box.y2;
}

// The lines a path may run along on one axis: halfway between each two neighbouring edges of the boxes and
// the area, and the ends' own; only those inside the area.
std::vector<float> lanes(std::vector<float> edges, float low, float high, float first, float second) {
    edges.push_back(low);
    edges.push_back(high);
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<float> lines{first, second};
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        lines.push_back((edges[i] + edges[i + 1]) / 2.0f);
    }
    lines.erase(std::remove_if(lines.begin(), lines.end(), [&](float v) { return v < low || v > high; }),
                lines.end());
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

}  // namespace

SDLinkRouter::SDLinkRouter(const Rect& area, std::vector<Rect> boxes)
    : m_area(area), m_boxes(std::move(boxes)) {}

std::vector<SDLinkRouter::Point> SDLinkRouter::route(const Point& from, const Point& to) const {
    const auto outside = [&](const Point& p) {
        return p.x < m_area.x1 || p.x > m_area.x2 || p.y < m_area.y1 || p.y > m_area.y2;
    };
    if (m_boxes.size() > kMostBoxes || outside(from) || outside(to)) {
        return {};
    }
    for (const Rect& box : m_boxes) {
        if (inside(box, from.x, from.y) || inside(box, to.x, to.y)) {
            return {};
        }
    }
    std::vector<float> edgesX;
    std::vector<float> edgesY;
    for (const Rect& box : m_boxes) {
        edgesX.insert(edgesX.end(), {box.x1, box.x2});
        edgesY.insert(edgesY.end(), {box.y1, box.y2});
    }
    const std::vector<float> xs = lanes(edgesX, m_area.x1, m_area.x2, from.x, to.x);
    const std::vector<float> ys = lanes(edgesY, m_area.y1, m_area.y2, from.y, to.y);
    const size_t columns = xs.size();
    const size_t rows = ys.size();
    // A point of the grid is free when no box holds it. Every box holds a lane of each axis (the one
    // halfway between its own two edges), so a step between neighbouring free points never crosses a box.
    std::vector<bool> free(columns * rows, true);
    for (const Rect& box : m_boxes) {
        const size_t c1 = static_cast<size_t>(std::upper_bound(xs.begin(), xs.end(), box.x1) - xs.begin());
        const size_t c2 = static_cast<size_t>(std::lower_bound(xs.begin(), xs.end(), box.x2) - xs.begin());
        const size_t r1 = static_cast<size_t>(std::upper_bound(ys.begin(), ys.end(), box.y1) - ys.begin());
        const size_t r2 = static_cast<size_t>(std::lower_bound(ys.begin(), ys.end(), box.y2) - ys.begin());
        for (size_t r = r1; r < r2; ++r) {
            for (size_t c = c1; c < c2; ++c) {
                free[r * columns + c] = false;
            }
        }
    }
    const auto index = [&](float v, const std::vector<float>& lines) {
        return static_cast<size_t>(std::lower_bound(lines.begin(), lines.end(), v) - lines.begin());
    };
    const size_t start = index(from.y, ys) * columns + index(from.x, xs);
    const size_t goal = index(to.y, ys) * columns + index(to.x, xs);

    // Shortest path over (point, heading): +x, -x, +y, -y, searched towards the end first (no path is
    // shorter than the straight distance). Ties go to the lower state, so the same layout always gives the
    // same path.
    constexpr int kHeadings = 4;
    const int stepX[kHeadings] = {1, -1, 0, 0};
    const int stepY[kHeadings] = {0, 0, 1, -1};
    const size_t states = columns * rows * kHeadings;
    std::vector<float> cost(states, std::numeric_limits<float>::infinity());
    std::vector<size_t> previous(states, SIZE_MAX);
    using Item = std::tuple<float, size_t>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    const auto estimate = [&](size_t point) {
        return std::abs(xs[point % columns] - to.x) + std::abs(ys[point / columns] - to.y);
    };
    cost[start * kHeadings] = 0.0f;
    queue.emplace(estimate(start), start * kHeadings);
    size_t reached = SIZE_MAX;
    while (!queue.empty()) {
        const auto [guess, state] = queue.top();
        queue.pop();
        const size_t point = state / kHeadings;
        const float distance = cost[state];
        if (guess > distance + estimate(point) + 1e-3f) {  // a later, shorter way reached it
            continue;
        }
        const int heading = static_cast<int>(state % kHeadings);
        if (point == goal && heading == 0) {
            reached = state;
            break;
        }
        const size_t column = point % columns;
        const size_t row = point / columns;
        for (int next = 0; next < kHeadings; ++next) {
            const long c = static_cast<long>(column) + stepX[next];
            const long r = static_cast<long>(row) + stepY[next];
            if (c < 0 || r < 0 || c >= static_cast<long>(columns) || r >= static_cast<long>(rows)) {
                continue;
            }
            const size_t target = static_cast<size_t>(r) * columns + static_cast<size_t>(c);
            if (!free[target]) {
                continue;
            }
            const float length = std::abs(xs[static_cast<size_t>(c)] - xs[column]) +
                                 std::abs(ys[static_cast<size_t>(r)] - ys[row]);
            const float step = length + (next == heading ? 0.0f : kTurn);
            const size_t nextState = target * kHeadings + static_cast<size_t>(next);
            if (distance + step < cost[nextState]) {
                cost[nextState] = distance + step;
                previous[nextState] = state;
                queue.emplace(distance + step + estimate(target), nextState);
            }
        }
        // Arriving at the end heading elsewhere: the last turn, into the port.
        if (point == goal && heading != 0 && distance + kTurn < cost[goal * kHeadings]) {
            cost[goal * kHeadings] = distance + kTurn;
            previous[goal * kHeadings] = state;
            queue.emplace(distance + kTurn, goal * kHeadings);  // the estimate is 0 there
        }
    }
    if (reached == SIZE_MAX) {
        return {};
    }
    std::vector<Point> path;
    for (size_t state = reached; state != SIZE_MAX; state = previous[state]) {
        const size_t point = state / kHeadings;
        const Point p{xs[point % columns], ys[point / columns]};
        if (!path.empty() && path.back().x == p.x && path.back().y == p.y) {
            continue;
        }
        // Only the corners: a point in line with the two around it goes.
        if (path.size() >= 2) {
            const Point& a = path[path.size() - 2];
            const Point& b = path.back();
            if ((a.x == b.x && b.x == p.x) || (a.y == b.y && b.y == p.y)) {
                path.back() = p;
                continue;
            }
        }
        path.push_back(p);
    }
    std::reverse(path.begin(), path.end());
    path.front() = from;
    path.back() = to;
    return path;
}
