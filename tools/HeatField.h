#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A temperature field over a box of width × height × depth cells (depth 1 for a plane) that spreads by
// diffusion. Source cells are held at their own temperature; every other cell starts at the ambient one.
// Each step moves a free cell towards its face neighbours inside the box: by the rate 1 / (2n + 1) times
// the sum of the differences, for n the number of axes longer than one cell, which keeps the step stable.
// The box's faces are insulated: no heat leaves it.
class HeatField {
  public:
    HeatField(int width, int height, int depth, double ambient);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int depth() const { return m_depth; }
    size_t cellCount() const { return m_now.size(); }
    double ambient() const { return m_ambient; }
    double rate() const { return m_rate; }

    // Cells are numbered (x × height + y) × depth + z, x outermost.
    size_t index(int x, int y, int z) const;
    void coordinates(size_t cell, int& x, int& y, int& z) const;

    // Holds the cell at `temperature` from now on.
    void addSource(int x, int y, int z, double temperature);
    bool isSource(size_t cell) const { return m_source[cell] != 0; }

    double temperature(size_t cell) const { return m_now[cell]; }
    double temperature(int x, int y, int z) const { return m_now[index(x, y, z)]; }

    // The face neighbours of `cell` inside the box, in the order −x, +x, −y, +y, −z, +z; returns how many.
    int neighbours(size_t cell, size_t out[6]) const;

    void step();

  private:
    int m_width;
    int m_height;
    int m_depth;
    double m_ambient;
    double m_rate;
    std::vector<double> m_now;
    std::vector<double> m_next;
    std::vector<uint8_t> m_source;
};
