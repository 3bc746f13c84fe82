#include "loader/SLCellValueFile.h"

#include <sys/stat.h>

#include <fstream>
#include <string_view>
#include <utility>

#include "loader/SLModelText.h"
#include "simdata/SDInitialValues.h"

namespace {

// The text of a line before its comment, without blanks at either end.
std::string_view content(const std::string& line) {
    return sltext::trim(std::string_view(line).substr(0, line.find('%')));
}

}  // namespace

SLCellValueFile::SLCellValueFile(SDInitialValues& values, const std::vector<unsigned>& counts,
                                 ErrorSink error)
    : m_values(values), m_counts(counts), m_error(std::move(error)) {}

bool SLCellValueFile::eachLine(const std::string& path, const LineReader& read) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    std::ifstream file(path);
    if (!file.good()) {
        return false;
    }
    std::string line;
    for (long number = 1; std::getline(file, line); ++number) {
        const std::string_view text = content(line);
        if (!text.empty() && !read(number, text)) {
            break;
        }
    }
    return true;
}

bool SLCellValueFile::readCells(const std::string& path) {
    const std::string space = sltext::coordinatesText(m_counts);
    const unsigned length = m_counts.size() > 2 ? m_counts[2] : 1;
    return eachLine(path, [&](long number, std::string_view text) {
        const size_t equals = text.find('=');
        std::vector<unsigned> cell;
        if (equals == std::string_view::npos || !sltext::coordinates(text.substr(0, equals), cell, 2, 3)) {
            m_error(path, number, "a cell's value is written (x,y) = value or (x,y,z) = value");
            return true;
        }
        const std::string_view valueText = sltext::trim(text.substr(equals + 1));
        double value = 0.0;
        if (valueText != "?" && !sltext::number(valueText, value)) {
            m_error(path, number, "'" + std::string(valueText) + "' is not a number");
            return true;
        }
        const std::vector<unsigned> given = cell;
        cell.resize(3, 0);
        if (cell[0] >= m_counts[0] || cell[1] >= m_counts[1] || cell[2] >= length) {
            m_error(path, number, "cell " + sltext::coordinatesText(given) + " lies outside dim " + space);
        } else if (valueText != "?") {
            m_values.setCell(cell[0], cell[1], cell[2], value);
        }
        return true;
    });
}

bool SLCellValueFile::readMap(const std::string& path) {
    const unsigned width = m_counts[0];
    const unsigned height = m_counts[1];
    const unsigned length = m_counts.size() > 2 ? m_counts[2] : 1;
    const size_t cells = static_cast<size_t>(width) * height * length;
    const std::string space = sltext::coordinatesText(m_counts);
    size_t cell = 0;
    const bool opened = eachLine(path, [&](long number, std::string_view text) {
        if (cell == cells) {
            m_error(path, number,
                    "more values than the " + std::to_string(cells) + " cells of dim " + space +
                        "; the rest is passed over");
            return false;
        }
        double value = 0.0;
        if (text != "?" && !sltext::number(text, value)) {
            m_error(path, number, "'" + std::string(text) + "' is not a number");
        } else if (text != "?") {
            const auto x = static_cast<unsigned>(cell / (static_cast<size_t>(height) * length));
            const auto y = static_cast<unsigned>(cell / length % height);
            const auto z = static_cast<unsigned>(cell % length);
            m_values.setCell(x, y, z, value);
        }
        ++cell;  // a value that cannot be read still stands for its cell, so the rest keep their places
        return true;
    });
    if (!opened) {
        return false;
    }
    if (cell < cells) {
        m_error(path, 0,
                std::to_string(cell) + " values for the " + std::to_string(cells) + " cells of dim " + space);
    }
    return true;
}
