#include "loader/SLScenarioFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <utility>

#include "loader/SLMaFile.h"
#include "loader/SLSink.h"
#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"

namespace {

using Json = nlohmann::ordered_json;

// A scenario is a small file; this keeps a log given by mistake from being read whole into memory.
constexpr uint64_t kMaxBytes = 256ull * 1024 * 1024;

bool readFile(const std::string& path, std::string& text, uint64_t limit) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<uint64_t>(info.st_size) > limit) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file.good()) {
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

// The first character that is not blank (nor the byte order mark) opens an object.
bool opensObject(const std::string& text) {
    size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    at = text.find_first_not_of(" \t\r\n", at);
    return at != std::string::npos && text[at] == '{';
}

// A value shown in a message: scalars and short arrays of them as written, anything else by its kind.
// (Never the whole of a nested value, which may be as deep as the file.)
std::string brief(const Json& value) {
    if (value.is_array()) {
        std::string text = "[";
        for (const Json& item : value) {
            if (item.is_structured() || text.size() > 40) {
                return "an array of " + std::to_string(value.size()) + " values";
            }
            text += (text.size() > 1 ? "," : "") + item.dump();
        }
        return text + "]";
    }
    if (value.is_object()) {
        return "an object";
    }
    std::string text = value.dump();
    return text.size() > 40 ? text.substr(0, 37) + "..." : text;
}

// A key of the file as a message shows it.
std::string shown(const std::string& key) {
    std::string text;
    for (char c : key.substr(0, 40)) {
        text += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    }
    return key.size() > 40 ? text + "..." : text;
}

bool whole(const Json& value, long long& number) {
    if (value.is_number_unsigned()) {
        const uint64_t u = value.get<uint64_t>();
        if (u > static_cast<uint64_t>(LLONG_MAX)) {
            return false;
        }
        number = static_cast<long long>(u);
        return true;
    }
    if (value.is_number_integer()) {
        number = value.get<int64_t>();
        return true;
    }
    return false;
}

// The numbers of a value in order: a number is one, a bool or text none, an object or array the numbers of
// its items. Walked without recursion: the file decides how deep it nests.
void numbersOf(const Json& value, std::vector<double>& numbers) {
    std::vector<const Json*> pending{&value};
    while (!pending.empty()) {
        const Json* item = pending.back();
        pending.pop_back();
        if (item->is_number()) {
            const double number = item->get<double>();
            if (std::isfinite(number)) {
                numbers.push_back(number);
            }
        } else if (item->is_structured()) {
            for (auto it = item->rbegin(); it != item->rend(); ++it) {
                pending.push_back(&*it);
            }
        }
    }
}

// The numbers of the default state with an override's fields in place of the same ones (new fields after
// them); a state that is not an object takes the place of the whole.
std::vector<double> overriddenNumbers(const Json& base, const Json& patch) {
    std::vector<double> numbers;
    if (!base.is_object() || !patch.is_object()) {
        numbersOf(patch, numbers);
        return numbers;
    }
    for (auto it = base.begin(); it != base.end(); ++it) {
        const auto replaced = patch.find(it.key());
        numbersOf(replaced != patch.end() ? *replaced : it.value(), numbers);
    }
    for (auto it = patch.begin(); it != patch.end(); ++it) {
        if (!base.contains(it.key())) {
            numbersOf(it.value(), numbers);
        }
    }
    return numbers;
}

// The field of an object state whose numbers begin the state's: the field the value comes from.
std::string firstNumberField(const Json& state) {
    if (!state.is_object()) {
        return "";
    }
    for (auto it = state.begin(); it != state.end(); ++it) {
        std::vector<double> numbers;
        numbersOf(it.value(), numbers);
        if (!numbers.empty()) {
            return it.key();
        }
    }
    return "";
}

std::string sizeText(const std::vector<long long>& counts, char between) {
    std::string text;
    for (size_t i = 0; i < counts.size(); ++i) {
        text += (i > 0 ? std::string(1, between) : "") + std::to_string(counts[i]);
    }
    return text;
}

// A model name as a cell reference can carry it: letters, digits and '_'.
std::string spaceName(const std::string& model) {
    std::string name;
    for (char c : model) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        name += plain ? c : '_';
    }
    return name.empty() ? "cells" : name;
}

}  // namespace

SLDeclarationFile::~SLDeclarationFile() = default;

std::unique_ptr<SLDeclarationFile> openDeclarationFile(SLSink* sink, const std::string& path) {
    if (SLScenarioFile::looksLike(path)) {
        return std::make_unique<SLScenarioFile>(sink, path);
    }
    return std::make_unique<SLMaFile>(sink, path);
}

SLScenarioFile::SLScenarioFile(SLSink* sink, std::string fileName)
    : SLDeclarationFile(sink), m_fileName(std::move(fileName)) {}

SLScenarioFile::~SLScenarioFile() = default;

bool SLScenarioFile::looksLike(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string head(4096, '\0');
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || !file.good()) {
        return false;
    }
    file.read(&head[0], static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(file.gcount()));
    return opensObject(head);
}

bool SLScenarioFile::recognise(const std::string& path) {
    std::string text;
    if (!looksLike(path) || !readFile(path, text, kMaxBytes)) {
        return false;
    }
    const Json root = Json::parse(text, nullptr, false);
    return root.is_object() && (root.contains("scenario") || root.contains("cells"));
}

bool SLScenarioFile::load() {
    if (!open()) {
        return false;
    }
    while (readLines(SIZE_MAX)) {
    }
    finish();
    return true;
}

bool SLScenarioFile::fail(const std::string& reason) {
    m_declaration.reset();
    m_failure = "Scenario file " + m_fileName + ": " + reason;
    logText(m_failure);
    return false;
}

void SLScenarioFile::error(const std::string& reason) {
    if (++m_skipped > SLMaFile::kMaxReported) {
        if (m_skipped == SLMaFile::kMaxReported + 1) {
            m_errors.push_back("Scenario file " + m_fileName +
                               ": more parts cannot be used; they are left out without a word");
            logText(m_errors.back());
        }
        return;
    }
    m_errors.push_back("Scenario file " + m_fileName + ": " + reason);
    logText(m_errors.back());
}

bool SLScenarioFile::readLines(size_t count) {
    for (size_t read = 0; read < count && m_bytes < m_text.size(); ++read) {
        const size_t end = m_text.find('\n', m_bytes);
        m_bytes = end == std::string::npos ? m_text.size() : end + 1;
        ++m_lines;
    }
    return m_bytes < m_text.size();
}

void SLScenarioFile::finish() {
    if (m_declaration != nullptr && m_link != nullptr) {
        m_link->addDeclaration(std::move(*m_declaration));
    }
    m_declaration.reset();
    m_text.clear();
    m_text.shrink_to_fit();
}

bool SLScenarioFile::open() {
    m_failure.clear();
    m_errors.clear();
    m_skipped = 0;
    m_lines = 0;
    m_bytes = 0;
    m_size = 0;
    m_text.clear();
    m_declaration.reset();
    if (!readFile(m_fileName, m_text, kMaxBytes)) {
        return fail("unable to open it for import");
    }
    m_size = m_text.size();
    Json root;
    try {
        root = Json::parse(m_text);
    } catch (const Json::parse_error& e) {
        const size_t at = std::min<size_t>(e.byte > 0 ? e.byte - 1 : 0, m_text.size());
        const long line = 1 + static_cast<long>(std::count(m_text.begin(), m_text.begin() + at, '\n'));
        // The library's own words after its position ("... column 5: syntax error while parsing ...").
        std::string detail = e.what();
        const size_t column = detail.find("column ");
        const size_t colon = detail.find(": ", column == std::string::npos ? 0 : column);
        detail = colon == std::string::npos ? "" : ": " + detail.substr(colon + 2);
        return fail("invalid JSON at line " + std::to_string(line) + detail);
    }
    if (!root.is_object()) {
        return fail("the file holds " + brief(root) + ", not a JSON object");
    }
    if (!root.contains("scenario") && !root.contains("cells")) {
        return fail("neither \"scenario\" nor \"cells\" is among its keys");
    }

    // The size.
    const Json none;
    const Json& scenario = root.contains("scenario") ? root["scenario"] : none;
    if (!scenario.is_object() || !scenario.contains("shape")) {
        return fail("scenario.shape, the size of the cell space, is missing");
    }
    const Json& shape = scenario["shape"];
    std::vector<long long> counts;
    bool good = shape.is_array() && !shape.empty() && shape.size() <= 3;
    for (size_t i = 0; good && i < shape.size(); ++i) {
        long long count = 0;
        good = whole(shape[i], count) && count > 0;
        counts.push_back(count);
    }
    if (!good) {
        return fail("scenario.shape must be 1 to 3 positive whole numbers, not " + brief(shape));
    }
    uint64_t cells = 1;
    for (const long long count : counts) {
        if (static_cast<uint64_t>(count) > SDCELLDevsModel::kMaxCells / cells) {
            return fail("a shape of " + sizeText(counts, 'x') + " holds more than " +
                        std::to_string(SDCELLDevsModel::kMaxCells) + " cells");
        }
        cells *= static_cast<uint64_t>(count);
    }
    std::array<int, 3> origin{};
    if (scenario.contains("origin")) {
        const Json& given = scenario["origin"];
        if (!given.is_array() || given.size() != counts.size()) {
            return fail("scenario.origin must have " + std::to_string(counts.size()) +
                        (counts.size() == 1 ? " coordinate" : " coordinates") + " as the shape does, not " +
                        brief(given));
        }
        for (size_t i = 0; i < counts.size(); ++i) {
            long long coordinate = 0;
            if (!whole(given[i], coordinate) || coordinate < INT_MIN ||
                coordinate + counts[i] - 1 > INT_MAX) {
                return fail("scenario.origin must be whole numbers, not " + brief(given));
            }
            origin[i] = static_cast<int>(coordinate);
        }
    }

    auto declaration = std::make_unique<SDModelDeclaration>();
    auto states = std::make_unique<SDScenarioStates>();
    declaration->cellSpace = true;
    declaration->dimensions = static_cast<int>(counts.size());
    declaration->width = static_cast<unsigned>(counts[0]);
    declaration->height = counts.size() > 1 ? static_cast<unsigned>(counts[1]) : 1;
    declaration->length = counts.size() > 2 ? static_cast<unsigned>(counts[2]) : 1;
    declaration->origin = origin;
    if (scenario.contains("wrapped")) {
        const Json& wrapped = scenario["wrapped"];
        if (wrapped.is_boolean()) {
            states->wrapped = wrapped.get<bool>() ? 1 : 0;
        } else {
            error("scenario.wrapped must be true or false, not " + brief(wrapped));
        }
    }

    // The states.
    const Json& cellsPart = root.contains("cells") ? root["cells"] : none;
    if (!cellsPart.is_null() && !cellsPart.is_object()) {
        error("cells must be an object of cell configurations, not " + brief(cellsPart));
    }
    const bool hasDefault = cellsPart.is_object() && cellsPart.contains("default");
    const Json& defaults = hasDefault ? cellsPart["default"] : none;
    const Json& defaultState = defaults.is_object() && defaults.contains("state") ? defaults["state"] : none;
    std::string model;
    if (defaults.is_object() && defaults.contains("model") && defaults["model"].is_string()) {
        model = defaults["model"].get<std::string>();
    }
    declaration->name = spaceName(model);
    numbersOf(defaultState, states->defaults);
    if (cellsPart.is_object()) {
        for (auto it = cellsPart.begin(); it != cellsPart.end(); ++it) {
            if (it.key() == "default") {
                continue;
            }
            const std::string part = "cells." + shown(it.key());
            const Json& entry = it.value();
            if (!entry.is_object() || !entry.contains("cell_map") || !entry["cell_map"].is_array()) {
                error(part + " has no cell_map, the list of its cells");
                continue;
            }
            SDScenarioStates::Override override;
            override.numbers =
                entry.contains("state") ? overriddenNumbers(defaultState, entry["state"]) : states->defaults;
            for (const Json& cell : entry["cell_map"]) {
                std::array<int, 3> at{};
                std::vector<long long> given;
                bool fits = cell.is_array() && cell.size() == counts.size();
                for (size_t i = 0; fits && i < counts.size(); ++i) {
                    long long coordinate = 0;
                    fits = whole(cell[i], coordinate);
                    given.push_back(coordinate);
                }
                if (!fits) {
                    error(part + ": a cell of cell_map is " + std::to_string(counts.size()) +
                          " whole numbers, not " + brief(cell));
                    continue;
                }
                bool inside = true;
                for (size_t i = 0; i < counts.size(); ++i) {
                    inside = inside && given[i] >= origin[i] && given[i] - origin[i] < counts[i];
                    at[i] = inside ? static_cast<int>(given[i]) : 0;
                }
                if (!inside) {
                    error(part + ": cell (" + sizeText(given, ',') + ") of cell_map lies outside the shape " +
                          sizeText(counts, 'x') + " from (" +
                          sizeText(std::vector<long long>(origin.begin(), origin.begin() + counts.size()),
                                   ',') +
                          ")");
                    continue;
                }
                override.cells.push_back(at);
            }
            states->overrides.push_back(std::move(override));
        }
    }
    declaration->initial =
        states->valuesOf(0, origin, {declaration->width, declaration->height, declaration->length});
    declaration->scenario = std::move(states);

    // The colours.
    if (root.contains("viewer")) {
        const Json& viewer = root["viewer"];
        const std::string field = firstNumberField(defaultState);
        const Json* chosen = nullptr;
        static const Json noEntries = Json::array();
        for (const Json& entry : viewer.is_array() ? viewer : noEntries) {
            if (!entry.is_object()) {
                continue;
            }
            if (chosen == nullptr || (entry.contains("field") && entry["field"] == field &&
                                      !(chosen->contains("field") && (*chosen)["field"] == field))) {
                chosen = &entry;
            }
        }
        if (chosen == nullptr) {
            error("viewer must be an array of objects with field, breaks and colors");
        } else {
            const Json& breaks = chosen->contains("breaks") ? (*chosen)["breaks"] : none;
            const Json& colors = chosen->contains("colors") ? (*chosen)["colors"] : none;
            std::vector<SDModelDeclaration::Band> bands;
            bool usable = breaks.is_array() && colors.is_array();
            if (!usable || breaks.size() != colors.size() + 1) {
                error("viewer: " + std::to_string(colors.is_array() ? colors.size() : 0) +
                      " colors want one break more, not " +
                      std::to_string(breaks.is_array() ? breaks.size() : 0));
                usable = false;
            }
            for (size_t i = 0; usable && i < colors.size(); ++i) {
                const Json& low = breaks[i];
                const Json& high = breaks[i + 1];
                if (!low.is_number() || !high.is_number() || !(low.get<double>() <= high.get<double>())) {
                    error("viewer: breaks must be numbers in ascending order, not " + brief(breaks));
                    usable = false;
                    break;
                }
                SDModelDeclaration::Band band;
                band.low = low.get<double>();
                band.high = high.get<double>();
                const Json& colour = colors[i];
                usable = colour.is_array() && colour.size() == 3;
                for (size_t c = 0; usable && c < 3; ++c) {
                    long long component = 0;
                    usable = whole(colour[c], component) && component >= 0 && component <= 255;
                    band.colour[c] = static_cast<float>(component) / 255.0f;
                }
                if (!usable) {
                    error("viewer: a colour is 3 whole numbers from 0 to 255, not " + brief(colour));
                    break;
                }
                band.colour[3] = 1.0f;
                bands.push_back(band);
            }
            if (usable) {
                declaration->palette = std::move(bands);
                if (chosen->contains("field") && (*chosen)["field"].is_string()) {
                    declaration->paletteField = (*chosen)["field"].get<std::string>();
                }
            }
        }
    }
    m_declaration = std::move(declaration);
    return true;
}
