#include "tools/LifeGrid.h"

uint64_t LifeRandom::next() {
    m_state += 0x9E3779B97F4A7C15ull;
    uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double LifeRandom::nextUnit() {
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

LifeGrid::LifeGrid(int width, int height)
    : m_width(width > 0 ? width : 1),
      m_height(height > 0 ? height : 1),
      m_cells(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0) {}

LifeGrid LifeGrid::random(int width, int height, double density, uint64_t seed) {
    LifeGrid grid(width, height);
    LifeRandom random(seed);
    for (uint8_t& cell : grid.m_cells) {
        cell = random.nextUnit() < density ? 1 : 0;
    }
    return grid;
}

std::size_t LifeGrid::index(int x, int y) const {
    int wx = x % m_width;
    int wy = y % m_height;
    if (wx < 0) {
        wx += m_width;
    }
    if (wy < 0) {
        wy += m_height;
    }
    return static_cast<std::size_t>(wx) * static_cast<std::size_t>(m_height) + static_cast<std::size_t>(wy);
}

bool LifeGrid::alive(int x, int y) const {
    return m_cells[index(x, y)] != 0;
}

void LifeGrid::set(int x, int y, bool alive) {
    m_cells[index(x, y)] = alive ? 1 : 0;
}

int LifeGrid::liveNeighbours(int x, int y) const {
    int count = 0;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if ((dx != 0 || dy != 0) && alive(x + dx, y + dy)) {
                ++count;
            }
        }
    }
    return count;
}

int LifeGrid::population() const {
    int count = 0;
    for (uint8_t cell : m_cells) {
        count += cell;
    }
    return count;
}

LifeGrid LifeGrid::step() const {
    LifeGrid next(m_width, m_height);
    for (int x = 0; x < m_width; ++x) {
        for (int y = 0; y < m_height; ++y) {
            const int n = liveNeighbours(x, y);
            next.set(x, y, n == 3 || (n == 2 && alive(x, y)));
        }
    }
    return next;
}

bool LifeGrid::operator==(const LifeGrid& other) const {
    return m_width == other.m_width && m_height == other.m_height && m_cells == other.m_cells;
}
