#include "loader/SLPaletteFile.h"

#include <sys/stat.h>

#include <fstream>
#include <string_view>
#include <utility>

#include "loader/SLMaFile.h"
#include "loader/SLModelText.h"
#include "shell/Log.h"

namespace {

// The parts of a text between commas, each without blanks at its ends.
std::vector<std::string> commaParts(std::string_view text) {
    std::vector<std::string> parts;
    for (;;) {
        const size_t comma = text.find(',');
        parts.emplace_back(sltext::trim(text.substr(0, comma)));
        if (comma == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(comma + 1);
    }
}

}  // namespace

bool SLPaletteFile::load() {
    m_entries.clear();
    m_errors.clear();
    m_skipped = 0;
    m_failure.clear();
    struct stat info;
    std::ifstream file;
    if (::stat(m_fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        file.open(m_fileName);
    }
    if (!file.is_open() || !file.good()) {
        m_failure = "Unable to open palette file for import";
        logText(m_failure);
        return false;
    }
    std::vector<std::pair<long, std::string>> lines;
    std::string line;
    for (long number = 1; std::getline(file, line); ++number) {
        const std::string_view text = sltext::trim(line);
        if (!text.empty()) {
            lines.emplace_back(number, std::string(text));
        }
    }
    if (!lines.empty() && lines.front().second == "VALIDSAVEDFILE") {
        lines.erase(lines.begin());
        readSaved(lines);
    } else {
        for (const auto& [number, text] : lines) {
            readRangeLine(number, text);
        }
    }
    return true;
}

void SLPaletteFile::error(long line, const std::string& reason) {
    if (++m_skipped > SLMaFile::kMaxReported) {
        if (m_skipped == SLMaFile::kMaxReported + 1) {
            m_errors.push_back("Palette file " + m_fileName +
                               ": more lines cannot be read; they are skipped without a word");
            logText(m_errors.back());
        }
        return;
    }
    const std::string text = "Palette file " + m_fileName + ", line " + std::to_string(line) + ": " + reason;
    logText(text);
    m_errors.push_back(text);
}

bool SLPaletteFile::readColour(long line, const std::vector<std::string>& parts,
                               std::array<float, 4>& colour) {
    for (size_t i = 0; i < 3; ++i) {
        double component = 0.0;
        if (!sltext::number(parts[i], component)) {
            error(line, "'" + parts[i] + "' is not a number");
            return false;
        }
        if (component < 0.0 || component > 255.0) {
            error(line, "colour components run from 0 to 255, not " + parts[i]);
            return false;
        }
        colour[i] = static_cast<float>(component / 255.0);
    }
    colour[3] = 1.0f;
    return true;
}

bool SLPaletteFile::readRange(long line, const std::string& lowText, const std::string& highText, double& low,
                              double& high) {
    for (const std::string* text : {&lowText, &highText}) {
        double ignored = 0.0;
        if (!sltext::number(*text, ignored)) {
            error(line, "'" + *text + "' is not a number");
            return false;
        }
    }
    sltext::number(lowText, low);
    sltext::number(highText, high);
    if (low > high) {
        error(line, "the range's low end " + lowText + " is above its high end " + highText);
        return false;
    }
    return true;
}

void SLPaletteFile::readRangeLine(long line, const std::string& text) {
    const size_t close = text.find(']');
    const size_t semicolon = text.find(';');
    if (text.front() != '[' || close == std::string::npos || semicolon == std::string::npos ||
        semicolon > close) {
        error(line, "a colour is written [low;high] r g b");
        return;
    }
    std::string rest = text.substr(close + 1);
    for (char& c : rest) {
        c = c == ',' ? ' ' : c;
    }
    const std::vector<std::string> components = sltext::words(rest);
    if (components.size() != 3) {
        error(line, "a colour is written [low;high] r g b");
        return;
    }
    Entry entry;
    if (!readRange(
            line, std::string(sltext::trim(std::string_view(text).substr(1, semicolon - 1))),
            std::string(sltext::trim(std::string_view(text).substr(semicolon + 1, close - semicolon - 1))),
            entry.low, entry.high) ||
        !readColour(line, components, entry.colour)) {
        return;
    }
    m_entries.push_back(entry);
}

void SLPaletteFile::readSaved(const std::vector<std::pair<long, std::string>>& lines) {
    // The colours come first and the ranges after them; the n-th range goes with the n-th colour. A line
    // that cannot be read keeps its place, so that the others still pair up as the file meant.
    struct Item {
        long line;
        bool good;
        std::array<float, 4> colour;
        double low;
        double high;
    };
    std::vector<Item> colours;
    std::vector<Item> ranges;
    for (const auto& [number, text] : lines) {
        const std::vector<std::string> parts = commaParts(text);
        Item item{number, false, {}, 0.0, 0.0};
        if (parts.size() == 3 && ranges.empty()) {
            item.good = readColour(number, parts, item.colour);
            colours.push_back(item);
        } else if (parts.size() == 2) {
            item.good = readRange(number, parts[0], parts[1], item.low, item.high);
            ranges.push_back(item);
        } else {
            error(number, ranges.empty() ? "a saved palette holds r,g,b lines, then low,high lines"
                                         : "a saved palette holds low,high lines after its colours");
        }
    }
    for (size_t i = colours.size(); i < ranges.size(); ++i) {
        error(ranges[i].line,
              "a range without a colour: the file has " + std::to_string(colours.size()) + " colours");
    }
    for (size_t i = ranges.size(); i < colours.size(); ++i) {
        error(colours[i].line,
              "a colour without a range: the file has " + std::to_string(ranges.size()) + " ranges");
    }
    for (size_t i = 0; i < colours.size() && i < ranges.size(); ++i) {
        if (colours[i].good && ranges[i].good) {
            m_entries.push_back(Entry{ranges[i].low, ranges[i].high, colours[i].colour});
        }
    }
}
