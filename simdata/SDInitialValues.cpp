#include "simdata/SDInitialValues.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "simdata/SDCELLDevsModel.h"

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// NaN marks "none", so two tables compare equal by their bits, not by ==.
bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Whether a table of these counts holds at most `limit` cells; each factor is weighed before it is
// multiplied, so no product can wrap.
bool withinCells(unsigned width, unsigned height, unsigned length, size_t limit) {
    size_t cells = 1;
    for (const unsigned count : {width, height, length}) {
        if (count == 0 || count > limit / cells) {
            return false;
        }
        cells *= count;
    }
    return true;
}

}  // namespace

void SDInitialValues::setCommon(double value) {
    m_common = value;
    m_hasCommon = true;
}

bool SDInitialValues::sizeCells(unsigned width, unsigned height, unsigned length) {
    if (!withinCells(width, height, length, SDCELLDevsModel::kMaxCells)) {
        m_cells.clear();
        m_given = 0;
        m_width = m_height = m_length = 0;
        return false;
    }
    if (width == m_width && height == m_height && length == m_length) {
        return true;
    }
    std::vector<double> cells;
    size_t given = 0;
    if (m_given > 0) {
        cells.assign(static_cast<size_t>(width) * height * length, kNone);
        for (unsigned x = 0; x < m_width && x < width; ++x) {
            for (unsigned y = 0; y < m_height && y < height; ++y) {
                for (unsigned z = 0; z < m_length && z < length; ++z) {
                    const double value = m_cells[(static_cast<size_t>(x) * m_height + y) * m_length + z];
                    cells[(static_cast<size_t>(x) * height + y) * length + z] = value;
                    given += std::isnan(value) ? 0 : 1;
                }
            }
        }
    }
    m_cells.swap(cells);
    m_given = given;
    m_width = width;
    m_height = height;
    m_length = length;
    return true;
}

bool SDInitialValues::setCell(unsigned x, unsigned y, unsigned z, double value) {
    if (x >= m_width || y >= m_height || z >= m_length || std::isnan(value)) {
        return false;
    }
    if (m_cells.empty()) {
        m_cells.assign(static_cast<size_t>(m_width) * m_height * m_length, kNone);
    }
    double& cell = m_cells[(static_cast<size_t>(x) * m_height + y) * m_length + z];
    m_given += std::isnan(cell) ? 1 : 0;
    cell = value;
    return true;
}

bool SDInitialValues::at(unsigned x, unsigned y, unsigned z, double& value) const {
    if (m_given > 0 && x < m_width && y < m_height && z < m_length) {
        const double own = m_cells[(static_cast<size_t>(x) * m_height + y) * m_length + z];
        if (!std::isnan(own)) {
            value = own;
            return true;
        }
    }
    if (m_hasCommon) {
        value = m_common;
        return true;
    }
    return false;
}

bool SDInitialValues::operator==(const SDInitialValues& other) const {
    if (m_hasCommon != other.m_hasCommon || (m_hasCommon && !sameBits(m_common, other.m_common)) ||
        m_given != other.m_given) {
        return false;
    }
    if (m_given == 0) {
        return true;
    }
    if (m_width != other.m_width || m_height != other.m_height || m_length != other.m_length) {
        return false;
    }
    for (size_t i = 0; i < m_cells.size(); ++i) {
        if (!sameBits(m_cells[i], other.m_cells[i])) {
            return false;
        }
    }
    return true;
}
