#include "tools/HeatField.h"

namespace {

int atLeastOne(int value) {
    return value > 0 ? value : 1;
}

}  // namespace

HeatField::HeatField(int width, int height, int depth, double ambient)
    : m_width(atLeastOne(width)),
      m_height(atLeastOne(height)),
      m_depth(atLeastOne(depth)),
      m_ambient(ambient),
      m_now(static_cast<size_t>(m_width) * static_cast<size_t>(m_height) * static_cast<size_t>(m_depth),
            ambient),
      m_next(m_now.size(), ambient),
      m_source(m_now.size(), 0) {
    const int axes = (m_width > 1 ? 1 : 0) + (m_height > 1 ? 1 : 0) + (m_depth > 1 ? 1 : 0);
    m_rate = 1.0 / (2.0 * axes + 1.0);
}

size_t HeatField::index(int x, int y, int z) const {
    return (static_cast<size_t>(x) * static_cast<size_t>(m_height) + static_cast<size_t>(y)) *
               static_cast<size_t>(m_depth) +
           static_cast<size_t>(z);
}

void HeatField::coordinates(size_t cell, int& x, int& y, int& z) const {
    z = static_cast<int>(cell % static_cast<size_t>(m_depth));
    cell /= static_cast<size_t>(m_depth);
    y = static_cast<int>(cell % static_cast<size_t>(m_height));
    x = static_cast<int>(cell / static_cast<size_t>(m_height));
}

void HeatField::addSource(int x, int y, int z, double temperature) {
    const size_t cell = index(x, y, z);
    m_source[cell] = 1;
    m_now[cell] = temperature;
}

int HeatField::neighbours(size_t cell, size_t out[6]) const {
    int x = 0;
    int y = 0;
    int z = 0;
    coordinates(cell, x, y, z);
    const size_t xStride = static_cast<size_t>(m_height) * static_cast<size_t>(m_depth);
    const size_t yStride = static_cast<size_t>(m_depth);
    int count = 0;
    if (x > 0) {
        out[count++] = cell - xStride;
    }
    if (x + 1 < m_width) {
        out[count++] = cell + xStride;
    }
    if (y > 0) {
        out[count++] = cell - yStride;
    }
    if (y + 1 < m_height) {
        out[count++] = cell + yStride;
    }
    if (z > 0) {
        out[count++] = cell - 1;
    }
    if (z + 1 < m_depth) {
        out[count++] = cell + 1;
    }
    return count;
}

void HeatField::step() {
    const size_t xStride = static_cast<size_t>(m_height) * static_cast<size_t>(m_depth);
    const size_t yStride = static_cast<size_t>(m_depth);
    const double* now = m_now.data();
    double* next = m_next.data();
    size_t cell = 0;
    // The same sums as neighbours() gives, walked in cell order without dividing for the coordinates.
    for (int x = 0; x < m_width; ++x) {
        for (int y = 0; y < m_height; ++y) {
            for (int z = 0; z < m_depth; ++z, ++cell) {
                const double here = now[cell];
                if (m_source[cell] != 0) {
                    next[cell] = here;
                    continue;
                }
                double flow = 0.0;
                if (x > 0) {
                    flow += now[cell - xStride] - here;
                }
                if (x + 1 < m_width) {
                    flow += now[cell + xStride] - here;
                }
                if (y > 0) {
                    flow += now[cell - yStride] - here;
                }
                if (y + 1 < m_height) {
                    flow += now[cell + yStride] - here;
                }
                if (z > 0) {
                    flow += now[cell - 1] - here;
                }
                if (z + 1 < m_depth) {
                    flow += now[cell + 1] - here;
                }
                next[cell] = here + m_rate * flow;
            }
        }
    }
    m_now.swap(m_next);
}
