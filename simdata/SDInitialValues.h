#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

// The values the cells of one Cell-DEVS model hold before they first report, as a model file gives them:
// one value common to every cell, and values of single cells that take its place. A cell without a value
// of its own takes the common one; without a common one it has none.
//
// Only a space given values cell by cell pays for a table (a double per cell of the declared size); a
// common value costs nothing per cell.
class SDInitialValues {
  public:
    void setCommon(double value);
    bool hasCommon() const { return m_hasCommon; }
    double getCommon() const { return m_common; }

    // Makes room for values of single cells in a space of these counts (the declared size); values set
    // before are kept where they still fit. A zero count, or more cells in all than a cell space may hold
    // (SDCELLDevsModel::kMaxCells), is refused: false, and no cell keeps or can be given a value of its own.
    bool sizeCells(unsigned width, unsigned height, unsigned length);
    // Gives cell (x, y, z) a value of its own; false (nothing set) outside the sized counts or for a value
    // that is not a number.
    bool setCell(unsigned x, unsigned y, unsigned z, double value);
    // How many cells have a value of their own.
    size_t cellsGiven() const { return m_given; }

    // The value cell (x, y, z) starts with; false when it has none.
    bool at(unsigned x, unsigned y, unsigned z, double& value) const;
    bool empty() const { return !m_hasCommon && m_given == 0; }

    // Calls `visit(value, count)` for the values the cells of a space of `cellCount` cells start with: each
    // value of a single cell (count 1), and the common value with the number of cells that take it.
    template <class Visit>
    void forEachValue(size_t cellCount, Visit visit) const {
        if (m_hasCommon && m_given < cellCount) {
            visit(m_common, cellCount - m_given);
        }
        if (m_given > 0) {
            for (double value : m_cells) {
                if (!std::isnan(value)) {
                    visit(value, size_t{1});
                }
            }
        }
    }

    bool operator==(const SDInitialValues& other) const;
    bool operator!=(const SDInitialValues& other) const { return !(*this == other); }

  private:
    bool m_hasCommon = false;
    double m_common = 0.0;
    unsigned m_width = 0;
    unsigned m_height = 0;
    unsigned m_length = 0;
    std::vector<double> m_cells;  // NaN: no value of its own; empty until a cell is given one
    size_t m_given = 0;
};
