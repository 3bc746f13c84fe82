#include "loader/SLMaFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string_view>
#include <utility>

#include "loader/SLCellValueFile.h"
#include "loader/SLModelText.h"
#include "loader/SLSink.h"
#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"

namespace {

// The keys that make a section a cell space.
bool isCellKey(const std::string& key) {
    return key == "dim" || key == "width" || key == "height" || key == "initialvalue" ||
           key == "initialrowvalue" || key == "initialcellsvalue" || key == "initialmapvalue";
}

// "port" or "port@model" into its two parts; false for an empty part.
bool readEnd(const std::string& text, std::string& port, std::string& model) {
    const size_t at = text.find('@');
    port = text.substr(0, at);
    model = at == std::string::npos ? "" : sltext::lower(text.substr(at + 1));
    return !port.empty() && (at == std::string::npos || !model.empty());
}

// A NUL byte would end the message wherever it is printed as a C string: it is shown as \0.
std::string visible(const std::string& text) {
    if (text.find('\0') == std::string::npos) {
        return text;
    }
    std::string shown;
    for (char c : text) {
        if (c == '\0') {
            shown += "\\0";
        } else {
            shown += c;
        }
    }
    return shown;
}

// The cells of a space of these counts, when they are at most `limit`; each count is weighed before it is
// multiplied, so that no product wraps.
bool cellsWithin(const std::vector<unsigned>& counts, uint64_t limit) {
    uint64_t cells = 1;
    for (const unsigned count : counts) {
        if (count > limit / cells) {
            return false;
        }
        cells *= count;
    }
    return true;
}

// From `least` to `most` sizes written as whole numbers, one of them beyond any count (more than
// 4294967295): too large, not malformed. A dim's sizes are written "(a,b[,c])".
bool countsTooLarge(std::string_view text, size_t least, size_t most) {
    text = sltext::trim(text);
    if (most > 1) {
        if (text.size() < 2 || text.front() != '(' || text.back() != ')') {
            return false;
        }
        text = text.substr(1, text.size() - 2);
    }
    bool huge = false;
    size_t parts = 0;
    while (true) {
        const size_t comma = text.find(',');
        const std::string_view part = sltext::trim(text.substr(0, comma));
        if (part.empty() || part.find_first_not_of("0123456789") != std::string_view::npos) {
            return false;
        }
        const size_t digits = part.size() - std::min(part.find_first_not_of('0'), part.size());
        huge = huge || digits > 10 || (digits == 10 && part.substr(part.size() - 10) > "4294967295");
        ++parts;
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    return huge && parts >= least && parts <= most;
}

}  // namespace

SLMaFile::SLMaFile(SLSink* sink, std::string fileName)
    : SLDeclarationFile(sink), m_fileName(std::move(fileName)) {}

SLMaFile::~SLMaFile() = default;

bool SLMaFile::load() {
    if (!open()) {
        return false;
    }
    while (readLines(SIZE_MAX)) {
    }
    finish();
    return true;
}

bool SLMaFile::open() {
    m_failure.clear();
    m_errors.clear();
    m_skipped = 0;
    m_sections.clear();
    m_sectionIndex.clear();
    m_current = std::string::npos;
    m_lines = 0;
    m_bytes = 0;
    m_size = 0;
    m_file.close();
    m_file.clear();
    struct stat info;
    if (::stat(m_fileName.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return failed("Unable to open model file for import");
    }
    m_file.open(m_fileName);
    if (!m_file.good()) {
        return failed("Unable to open model file for import");
    }
    m_size = static_cast<uint64_t>(info.st_size);
    return true;
}

bool SLMaFile::readLines(size_t count) {
    if (!m_file.is_open()) {
        return false;
    }
    std::string line;
    for (size_t read = 0; read < count; ++read) {
        if (!std::getline(m_file, line)) {
            return false;
        }
        ++m_lines;
        m_bytes += line.size() + (m_file.eof() ? 0 : 1);
        readLine(static_cast<long>(m_lines), line);
    }
    return m_file.peek() != std::char_traits<char>::eof();
}

void SLMaFile::finish() {
    m_file.close();
    for (const Section& section : m_sections) {
        SDModelDeclaration declaration = interpret(section);
        if ((declaration.cellSpace || !declaration.coupling.empty()) && m_link != nullptr) {
            m_link->addDeclaration(std::move(declaration));
        }
    }
    m_sections.clear();
    m_sectionIndex.clear();
}

void SLMaFile::error(const std::string& file, long line, const std::string& reason) {
    if (++m_skipped > kMaxReported) {
        if (m_skipped == kMaxReported + 1) {
            m_errors.push_back("Model file " + m_fileName +
                               ": more lines cannot be read; they are skipped without a word");
            logText(m_errors.back());
        }
        return;
    }
    std::string text = "Model file " + file;
    if (line > 0) {
        text += ", line " + std::to_string(line);
    }
    text += ": " + visible(reason);
    logText(text);
    m_errors.push_back(text);
}

void SLMaFile::readLine(long number, const std::string& line) {
    const std::string_view text = sltext::trim(std::string_view(line).substr(0, line.find('%')));
    if (text.empty()) {
        return;
    }
    if (text.front() == '[') {
        const bool closed = text.size() >= 2 && text.back() == ']';
        const std::string name =
            closed ? sltext::lower(sltext::trim(text.substr(1, text.size() - 2))) : std::string();
        m_current = std::string::npos;
        if (name.empty() || name.find_first_of("[]") != std::string::npos) {
            error(m_fileName, number, "a section starts with its model's name in brackets, as [top]");
            return;
        }
        // A section named again goes on where it left off.
        const auto found = m_sectionIndex.emplace(name, m_sections.size());
        if (found.second) {
            m_sections.push_back(Section{name, {}});
        }
        m_current = found.first->second;
        return;
    }
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        error(m_fileName, number, "no ':' between a key and its value");
        return;
    }
    const std::string key = sltext::lower(sltext::trim(text.substr(0, colon)));
    if (key.empty()) {
        error(m_fileName, number, "no key before ':'");
        return;
    }
    if (m_current == std::string::npos) {
        error(m_fileName, number, "'" + key + "' is not in a [section]");
        return;
    }
    m_sections[m_current].entries.push_back(
        Entry{key, std::string(sltext::trim(text.substr(colon + 1))), number});
}

SDModelDeclaration SLMaFile::interpret(const Section& section) {
    SDModelDeclaration declaration;
    declaration.name = section.name;
    for (const Entry& entry : section.entries) {
        if (entry.key == "type" && sltext::lower(entry.value) == "cell") {
            declaration.cellSpace = true;
        }
        declaration.cellSpace = declaration.cellSpace || isCellKey(entry.key);
    }
    readSize(section, declaration);

    auto initial = std::make_unique<SDInitialValues>();
    if (declaration.dimensions > 0) {
        initial->sizeCells(declaration.width, declaration.height, declaration.length);
    }
    std::vector<unsigned> counts = {declaration.width, declaration.height};
    if (declaration.dimensions == 3) {
        counts.push_back(declaration.length);
    }
    const std::string needsSize = " needs the model's dim (or width and height)";
    // In order of precedence: initialvalue, rows, then the files in the order given.
    for (int pass = 0; pass < 3; ++pass) {
        for (const Entry& entry : section.entries) {
            if (pass == 0) {
                readCoupling(entry, declaration.coupling);
                if (entry.key != "initialvalue") {
                    continue;
                }
                double value = 0.0;
                if (entry.value == "?") {
                    continue;
                }
                if (!sltext::number(entry.value, value)) {
                    error(m_fileName, entry.line, "'" + entry.value + "' is not a number");
                    continue;
                }
                initial->setCommon(value);
            } else if (pass == 1 && entry.key == "initialrowvalue") {
                if (declaration.dimensions == 0) {
                    error(m_fileName, entry.line, entry.key + needsSize);
                    continue;
                }
                readRow(entry, declaration, *initial);
            } else if (pass == 2 && (entry.key == "initialcellsvalue" || entry.key == "initialmapvalue")) {
                if (declaration.dimensions == 0) {
                    error(m_fileName, entry.line, entry.key + needsSize);
                    continue;
                }
                const std::string path = sltext::besides(m_fileName, entry.value);
                SLCellValueFile file(*initial, counts,
                                     [this](const std::string& name, long line, const std::string& reason) {
                                         error(name, line, reason);
                                     });
                const bool opened =
                    entry.key == "initialcellsvalue" ? file.readCells(path) : file.readMap(path);
                if (!opened) {
                    error(m_fileName, entry.line, "unable to open " + path);
                }
            }
        }
    }
    if (!initial->empty()) {
        declaration.initial = std::move(initial);
    }
    return declaration;
}

void SLMaFile::readSize(const Section& section, SDModelDeclaration& declaration) {
    // The last size that can be read wins; one that cannot is reported and skipped.
    std::vector<unsigned> dim;
    unsigned width = 0;
    unsigned height = 0;
    const Entry* widthEntry = nullptr;
    const Entry* heightEntry = nullptr;
    for (const Entry& entry : section.entries) {
        if (entry.key == "dim") {
            std::vector<unsigned> counts;
            if (countsTooLarge(entry.value, 2, 3)) {
                error(m_fileName, entry.line,
                      std::string(sltext::trim(entry.value)) + " holds more than " +
                          std::to_string(SDCELLDevsModel::kMaxCells) + " cells");
            } else if (!sltext::coordinates(entry.value, counts, 2, 3) || counts[0] == 0 || counts[1] == 0 ||
                       (counts.size() == 3 && counts[2] == 0)) {
                error(m_fileName, entry.line,
                      "dim wants 2 or 3 positive whole numbers, as (8,8,8), not '" + entry.value + "'");
            } else if (!cellsWithin(counts, SDCELLDevsModel::kMaxCells)) {
                error(m_fileName, entry.line,
                      sltext::coordinatesText(counts) + " holds more than " +
                          std::to_string(SDCELLDevsModel::kMaxCells) + " cells");
            } else {
                dim = counts;
            }
        } else if (entry.key == "width" || entry.key == "height") {
            unsigned count = 0;
            if (countsTooLarge(entry.value, 1, 1)) {
                error(m_fileName, entry.line,
                      entry.key + " " + std::string(sltext::trim(entry.value)) +
                          " is too large: a cell space holds at most " +
                          std::to_string(SDCELLDevsModel::kMaxCells) + " cells");
            } else if (!sltext::count(entry.value, count) || count == 0) {
                error(m_fileName, entry.line,
                      entry.key + " wants a positive whole number, not '" + entry.value + "'");
            } else if (entry.key == "width") {
                width = count;
                widthEntry = &entry;
            } else {
                height = count;
                heightEntry = &entry;
            }
        }
    }
    if ((widthEntry == nullptr) != (heightEntry == nullptr)) {
        error(m_fileName, (widthEntry != nullptr ? widthEntry : heightEntry)->line,
              "width and height go together");
    } else if (dim.empty() && widthEntry != nullptr) {
        if (!cellsWithin({width, height}, SDCELLDevsModel::kMaxCells)) {
            error(m_fileName, heightEntry->line,
                  sltext::coordinatesText({width, height}) + " holds more than " +
                      std::to_string(SDCELLDevsModel::kMaxCells) + " cells");
        } else {
            dim = {width, height};
            declaration.sizeFromWidthAndHeight = true;
        }
    }
    if (dim.empty()) {
        return;
    }
    declaration.dimensions = static_cast<int>(dim.size());
    declaration.width = dim[0];
    declaration.height = dim[1];
    declaration.length = dim.size() == 3 ? dim[2] : 1;
}

void SLMaFile::readCoupling(const Entry& entry, SDCoupledModel& coupling) {
    if (entry.key == "components") {
        for (const std::string& word : sltext::words(entry.value)) {
            const size_t at = word.find('@');
            const std::string name = sltext::lower(word.substr(0, at));
            if (name.empty()) {
                error(m_fileName, entry.line, "a component '" + word + "' without a name");
                continue;
            }
            coupling.components.push_back(
                SDComponent{name, at == std::string::npos ? "" : word.substr(at + 1)});
        }
    } else if (entry.key == "in" || entry.key == "out") {
        for (const std::string& port : sltext::words(entry.value)) {
            (entry.key == "in" ? coupling.inputPorts : coupling.outputPorts).push_back(port);
        }
    } else if (entry.key == "link") {
        const std::vector<std::string> ends = sltext::words(entry.value);
        SDLink link;
        if (ends.size() != 2 || !readEnd(ends[0], link.fromPort, link.fromModel) ||
            !readEnd(ends[1], link.toPort, link.toModel)) {
            error(m_fileName, entry.line, "a link is written from-port[@model] to-port[@model]");
            return;
        }
        coupling.links.push_back(link);
    }
}

void SLMaFile::readRow(const Entry& entry, const SDModelDeclaration& declaration, SDInitialValues& values) {
    const std::vector<std::string> words = sltext::words(entry.value);
    unsigned row = 0;
    if (words.size() < 2 || !sltext::count(words[0], row)) {
        error(m_fileName, entry.line,
              "initialrowvalue is written as the row's first coordinate, then its digits");
        return;
    }
    std::vector<unsigned> dim = {declaration.width, declaration.height};
    if (declaration.dimensions == 3) {
        dim.push_back(declaration.length);
    }
    if (row >= declaration.width) {
        error(m_fileName, entry.line,
              "row " + std::to_string(row) + " lies outside dim " + sltext::coordinatesText(dim));
        return;
    }
    std::string digits;
    for (size_t i = 1; i < words.size(); ++i) {
        digits += words[i];
    }
    for (char c : digits) {
        if ((c < '0' || c > '9') && c != '?') {
            error(m_fileName, entry.line, std::string("'") + c + "' is not a digit");
            return;
        }
    }
    if (digits.size() > declaration.height) {
        error(m_fileName, entry.line,
              "a row of " + std::to_string(digits.size()) + " values is longer than the " +
                  std::to_string(declaration.height) + " of dim " + sltext::coordinatesText(dim));
        return;
    }
    for (size_t column = 0; column < digits.size(); ++column) {
        if (digits[column] != '?') {
            values.setCell(row, static_cast<unsigned>(column), 0, digits[column] - '0');
        }
    }
}
