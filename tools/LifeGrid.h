#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A small deterministic generator (splitmix64). Its own arithmetic, so a seed gives the same run with every
// compiler and standard library.
class LifeRandom {
  public:
    explicit LifeRandom(uint64_t seed) : m_state(seed) {}
    uint64_t next();
    // Uniform in [0, 1), from the top 53 bits of next().
    double nextUnit();

  private:
    uint64_t m_state;
};

// A Game of Life board on a torus: the left edge neighbours the right one and the top the bottom, so every
// cell has eight neighbours and gliders keep going. Cell (x, y) for x < width, y < height.
class LifeGrid {
  public:
    LifeGrid(int width, int height);
    // Each cell alive with probability `density`, drawn in cell order (x outer, y inner).
    static LifeGrid random(int width, int height, double density, uint64_t seed);

    int width() const { return m_width; }
    int height() const { return m_height; }
    // Coordinates outside the board wrap around.
    bool alive(int x, int y) const;
    void set(int x, int y, bool alive);
    int liveNeighbours(int x, int y) const;
    int population() const;

    // The next generation: a live cell with two or three live neighbours survives, a dead cell with exactly
    // three comes alive, every other cell is dead.
    LifeGrid step() const;

    bool operator==(const LifeGrid& other) const;
    bool operator!=(const LifeGrid& other) const { return !(*this == other); }

  private:
    std::size_t index(int x, int y) const;

    int m_width;
    int m_height;
    std::vector<uint8_t> m_cells;  // x outer, y inner
};
