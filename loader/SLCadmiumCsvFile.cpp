#include "loader/SLCadmiumCsvFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <unordered_set>
#include <utility>

#include "loader/SLCsvRow.h"
#include "loader/SLDataText.h"
#include "loader/SLSink.h"
#include "shell/Log.h"
#include "simdata/SDLogMessage.h"

namespace {

const std::string kStatePort = "out";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool onlyBlanks(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return isBlank(c) || c == '\r'; });
}

// A plain model's name as events show it: brackets would make "gen(1)" read as cell 1 of a space "gen".
std::string plainName(const std::string& name) {
    std::string shown = name;
    for (char& c : shown) {
        c = c == '(' ? '[' : (c == ')' ? ']' : c);
    }
    return shown;
}

// Times are compared as written: "inf" equals "inf".
bool sameTime(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

}  // namespace

SLCadmiumCsvFile::SLCadmiumCsvFile(SLSink* link, std::string fileName)
    : SLRunReader(link), m_fileName(std::move(fileName)), m_top(topName(m_fileName)) {}

SLCadmiumCsvFile::~SLCadmiumCsvFile() = default;

std::string SLCadmiumCsvFile::topName(const std::string& fileName) {
    const size_t slash = fileName.find_last_of('/');
    std::string stem = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    const size_t dot = stem.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        stem.resize(dot);
    }
    for (char& c : stem) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '_') {
            c = '_';
        }
    }
    return stem.empty() ? "top" : stem;
}

bool SLCadmiumCsvFile::open() {
    m_failure.clear();
    m_latestTime = -std::numeric_limits<double>::infinity();
    m_top = topName(m_fileName);
    m_separator = 0;
    m_header = false;
    m_queued = 0;
    m_open = false;
    m_settled = false;
    m_models.clear();
    m_byId.clear();
    m_byNumber.clear();
    m_timeText.clear();
    m_idsOfName.clear();
    m_spaceName = "cells";
    m_origin = {};
    m_spaceAnnounced = false;
    m_topAnnounced = false;
    m_belowReported = false;
    m_spacePorts.clear();
    m_census = SLLineCensus();
    std::string error;
    if (!m_source.open(m_fileName, kMaxLineLength, error)) {
        return failed("%s", error.c_str());
    }
    return true;
}

SLCadmiumCsvFile::Step SLCadmiumCsvFile::readLines(size_t maxLines) {
    if (!m_source.isOpen()) {
        return m_failure.empty() ? Step::Done : Step::Failed;
    }
    // The lines of a batch go back to the reader: rows still waiting keep copies.
    const auto keepWaitingRows = [this] {
        for (size_t i = 0; i < m_queued; ++i) {
            if (!m_rows[i].owned) {
                holdRow(m_rows[i], {}, false);
            }
        }
    };
    size_t handled = 0;
    for (;;) {
        const SLLineReader::Line* line = nullptr;
        switch (m_source.next(handled, maxLines, line, keepWaitingRows)) {
            case SLLineSource::Next::Enough:
                return Step::More;
            case SLLineSource::Next::Failed:
                m_source.close();
                failed("Unable to read line %lld of log file: %s", m_source.lineNumber(), m_fileName.c_str());
                return Step::Failed;
            case SLLineSource::Next::End:
                // The last row may have waited for a continuation, the first time for its end.
                if (!m_settled) {
                    settle();
                }
                emitQueued();
                m_source.close();
                return Step::Done;
            case SLLineSource::Next::Line:
                break;
        }
        if (line->passOver) {
            passOver(m_source.lineNumber() + 1);
            logMessage("Passing over line %lld of log file, longer than %zu characters: %s",
                       m_source.lineNumber() + 1, kMaxLineLength, m_fileName.c_str());
        }
        if (line->text != nullptr && !handleLine(line->text)) {
            m_source.close();
            return Step::Failed;
        }
        if (m_source.count(*line)) {
            ++handled;
        }
    }
}

bool SLCadmiumCsvFile::handleLine(std::string_view line) {
    if (line.find('\x1b') != std::string_view::npos) {
        m_line.assign(line);
        SLDataText::stripColours(m_line);
        line = m_line;
    }
    if (!m_header) {
        return handleHeader(line);
    }
    const long long lineNumber = m_source.lineNumber() + 1;
    SLCsvRow::Fields fields;
    // Rows come in runs of one time: its text is read as a number once.
    const size_t timeEnd = line.find(m_separator);
    bool beginsRow = false;
    if (timeEnd != std::string_view::npos && !m_timeText.empty() && line.substr(0, timeEnd) == m_timeText) {
        fields.seconds = m_timeSeconds;
        beginsRow = true;
    } else if (SLCsvRow::beginsRow(line, m_separator, fields.seconds)) {
        m_timeText.assign(line.substr(0, timeEnd));
        m_timeSeconds = fields.seconds;
        beginsRow = true;
    }
    if (beginsRow) {
        int coordinates[3] = {0, 0, 0};
        int dimensions = 0;
        const bool cut = SLCsvRow::cutAfterTime(line, m_separator, timeEnd, fields);
        const bool cell = cut && !fields.name.empty() && fields.name.front() == '(';
        if (!cut || (cell && !SLCsvRow::cellCoordinates(fields.name, coordinates, dimensions))) {
            passOver(lineNumber);
            return true;
        }
        if (dimensions > 3) {
            return failed("%s: cells of %d dimensions; at most 3 can be shown (line %lld)",
                          m_fileName.c_str(), dimensions, lineNumber);
        }
        if (!m_settled && m_queued > 0 && !sameTime(fields.seconds, m_firstSeconds)) {
            settle();
        }
        if (m_settled) {
            emitQueued();
        } else if (m_queued == 0) {
            m_firstSeconds = fields.seconds;
        }
        if (m_queued == m_rows.size()) {
            m_rows.emplace_back();
        }
        Row& row = m_rows[m_queued++];
        row.line = lineNumber;
        row.seconds = fields.seconds;
        row.id = fields.id;
        row.name = fields.name;
        row.port = fields.port;
        row.data = fields.data;
        row.owned = false;
        if (line.data() == m_line.data()) {
            holdRow(row, {}, false);  // m_line takes the next line with colours
        }
        row.depth = -1;  // worked out when a line may continue the row: most never do
        row.cell = cell;
        row.dimensions = dimensions;
        std::copy(coordinates, coordinates + 3, row.coordinates);
        m_open = true;
        if (!m_settled && m_queued >= kMaxFirstRows) {
            settle();
        }
        return true;
    }
    if (m_open && m_queued > 0) {
        Row& last = m_rows[m_queued - 1];
        if (last.depth < 0) {
            last.depth = SLCsvRow::openBrackets(last.data, 0);
        }
        if ((!line.empty() && isBlank(line.front())) || last.depth > 0) {
            holdRow(last, line, true);
            last.depth = SLCsvRow::openBrackets(line, last.depth);
            return true;
        }
    }
    if (onlyBlanks(line)) {
        return true;
    }
    passOver(lineNumber);
    return true;
}

bool SLCadmiumCsvFile::handleHeader(std::string_view line) {
    if (m_source.lineNumber() == 0) {
        line = SLCsvRow::withoutByteOrderMark(line);
    }
    if (onlyBlanks(line)) {
        return true;
    }
    if (m_separator == 0 && SLCsvRow::separatorLine(line, m_separator)) {
        return true;
    }
    if (SLCsvRow::headerLine(line, m_separator)) {
        m_header = true;
        return true;
    }
    return failed("%s: line %lld is not the header time;model_id;model_name;port_name;data",
                  m_fileName.c_str(), m_source.lineNumber() + 1);
}

void SLCadmiumCsvFile::passOver(long long lineNumber) {
    m_open = false;
    if (m_settled) {
        emitQueued();
    }
    m_census.noteOther(lineNumber);
}

void SLCadmiumCsvFile::settle() {
    m_settled = true;
    // Every model writes its state at the first time: the ids that share a name are all known by now.
    for (size_t i = 0; i < m_queued; ++i) {
        const Row& row = m_rows[i];
        if (!row.cell && findModel(row.id) == nullptr) {
            keepModel(row.id, static_cast<uint32_t>(m_models.size()));
            Model model;
            model.id = row.id;
            model.name = row.name;
            m_models.push_back(std::move(model));
            ++m_idsOfName[std::string(row.name)];
        }
    }
    std::string name;
    std::array<int, 3> origin{};
    const bool declared = m_link != nullptr && m_link->declaredCellSpace(name, origin) && !name.empty();
    if (declared) {
        m_spaceName = name;
    }
    bool cells = false;
    for (size_t i = 0; i < m_queued && !cells; ++i) {
        cells = m_rows[i].cell;
    }
    // A model named as the space of the run's cells is told apart by its id, and the top model from
    // every model: a run of "gen.csv" may well hold a model "gen".
    std::unordered_set<std::string> names;
    for (Model& model : m_models) {
        const bool shared = m_idsOfName[model.name] > 1 || (cells && model.name == m_spaceName);
        model.reference = plainName(shared ? model.name + "#" + model.id : model.name);
        names.insert(model.reference);
    }
    while (names.count(m_top) != 0 || (cells && m_top == m_spaceName)) {
        m_top += "_top";
    }
    if (declared) {
        m_origin = origin;
    } else {
        m_origin = {};
        for (size_t i = 0; i < m_queued; ++i) {
            const Row& row = m_rows[i];
            for (int axis = 0; row.cell && axis < std::min(row.dimensions, 3); ++axis) {
                m_origin[axis] = std::min(m_origin[axis], row.coordinates[axis]);
            }
        }
    }
    m_space.reuseAsCell(m_spaceName);
    m_space.setOrigin(m_origin);
    // The last row may still take continuation lines: it stays queued.
    const size_t held = m_open ? m_queued - 1 : m_queued;
    for (size_t i = 0; i < held; ++i) {
        emit(m_rows[i]);
    }
    if (held > 0 && held < m_queued) {
        std::swap(m_rows[0], m_rows[held]);
    }
    m_queued -= held;
    // From here on at most one row waits: the first time's storage is let go.
    m_rows.resize(std::max<size_t>(m_queued, 1));
    m_rows.shrink_to_fit();
}

void SLCadmiumCsvFile::holdRow(Row& row, std::string_view more, bool continued) {
    const size_t sizes[4] = {row.id.size(), row.name.size(), row.port.size(), row.data.size()};
    if (!row.owned) {
        std::vector<char> held;
        held.reserve(sizes[0] + sizes[1] + sizes[2] + sizes[3] + (continued ? 1 + more.size() : 0));
        for (const std::string_view field : {row.id, row.name, row.port, row.data}) {
            held.insert(held.end(), field.begin(), field.end());
        }
        row.held.swap(held);
        row.owned = true;
    }
    // The data comes last: a continuation is appended in place, though the memory may move.
    if (continued) {
        row.held.push_back('\n');
        row.held.insert(row.held.end(), more.begin(), more.end());
    }
    const char* at = row.held.data();
    row.id = std::string_view(at, sizes[0]);
    at += sizes[0];
    row.name = std::string_view(at, sizes[1]);
    at += sizes[1];
    row.port = std::string_view(at, sizes[2]);
    at += sizes[2];
    row.data = std::string_view(at, static_cast<size_t>(row.held.data() + row.held.size() - at));
}

void SLCadmiumCsvFile::emitQueued() {
    for (size_t i = 0; i < m_queued; ++i) {
        emit(m_rows[i]);
    }
    m_queued = 0;
}

namespace {

constexpr size_t kMaxNumberedId = size_t{1} << 22;

// The id as an index when it is a few digits without a leading zero; -1 otherwise.
long numberedId(std::string_view id) {
    if (id.empty() || id.size() > 7 || (id[0] == '0' && id.size() > 1)) {
        return -1;
    }
    long value = 0;
    for (char c : id) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return static_cast<size_t>(value) < kMaxNumberedId ? value : -1;
}

}  // namespace

SLCadmiumCsvFile::Model* SLCadmiumCsvFile::findModel(std::string_view id) {
    const long number = numberedId(id);
    if (number >= 0) {
        const auto at = static_cast<size_t>(number);
        return at < m_byNumber.size() && m_byNumber[at] != 0 ? &m_models[m_byNumber[at] - 1] : nullptr;
    }
    m_idKey.assign(id);
    auto found = m_byId.find(m_idKey);
    return found != m_byId.end() ? &m_models[found->second] : nullptr;
}

void SLCadmiumCsvFile::keepModel(std::string_view id, uint32_t index) {
    const long number = numberedId(id);
    if (number < 0) {
        m_byId.emplace(std::string(id), index);
        return;
    }
    const auto at = static_cast<size_t>(number);
    if (at >= m_byNumber.size()) {
        m_byNumber.resize(std::min(std::max(at + 1, m_byNumber.size() * 2), kMaxNumberedId), 0);
    }
    m_byNumber[at] = index + 1;
}

SLCadmiumCsvFile::Model& SLCadmiumCsvFile::modelOf(const Row& row) {
    if (Model* known = findModel(row.id)) {
        return *known;
    }
    keepModel(row.id, static_cast<uint32_t>(m_models.size()));
    m_models.emplace_back();
    Model& model = m_models.back();
    model.id = row.id;
    model.name = row.name;
    model.cell = row.cell;
    if (row.cell) {
        model.dimensions = row.dimensions;
        std::copy(row.coordinates, row.coordinates + 3, model.coordinates.begin());
        model.reference = m_spaceName + "(";
        for (int axis = 0; axis < row.dimensions; ++axis) {
            model.reference += (axis > 0 ? "," : "") + std::to_string(row.coordinates[axis]);
        }
        model.reference += ")";
    } else {
        // A name met again under a new id after the first time is told apart by its id too, as is a new
        // name that the top model or the cell space has.
        const bool shared = m_idsOfName[model.name]++ > 0 || model.name == m_top ||
                            (m_spaceAnnounced && model.name == m_spaceName);
        model.reference = plainName(shared ? model.name + "#" + model.id : model.name);
    }
    return model;
}

bool SLCadmiumCsvFile::announce(Model& model, double milliseconds) {
    if (model.announced) {
        return !model.refused;
    }
    model.announced = true;
    const double time = std::isfinite(milliseconds) ? milliseconds : 0.0;
    SDLogMessage message;
    message.kind = SDLogMessage::Kind::Init;
    message.time = time;
    if (!m_topAnnounced) {
        m_topAnnounced = true;
        m_plain.reuseAs(m_top);
        if (m_link != nullptr) {
            m_link->offerModel(m_plain);
        }
    }
    if (!model.cell) {
        m_plain.reuseAs(model.reference);
        if (m_link != nullptr) {
            m_link->offerModel(m_plain);
            message.source = m_top;
            message.destination = model.reference;
            m_link->offerMessage(message);
        }
        return true;
    }
    long long at[3] = {0, 0, 0};
    bool below = false;
    for (int axis = 0; axis < 3; ++axis) {
        at[axis] = static_cast<long long>(model.coordinates[axis]) - m_origin[axis];
        below = below || at[axis] < 0;
    }
    if (below) {
        model.refused = true;
        if (!m_belowReported) {
            m_belowReported = true;
            logMessage("Passing over %s of log file %s: it lies below the cell space's origin (%d,%d,%d)",
                       model.reference.c_str(), m_fileName.c_str(), m_origin[0], m_origin[1], m_origin[2]);
        }
        return false;
    }
    const unsigned counts[3] = {m_space.getWidth(), m_space.getHeight(), m_space.getLength()};
    // The space takes the run's own coordinates and stores them from its origin.
    if (!m_space.acceptCell(model.coordinates[0], model.coordinates[1], model.coordinates[2])) {
        model.refused = true;
        return false;
    }
    if (m_link == nullptr) {
        return true;
    }
    if (!m_spaceAnnounced) {
        m_spaceAnnounced = true;
        m_link->offerModel(m_space);
        message.source = m_top;
        message.destination = m_spaceName;
        m_link->offerMessage(message);
    } else if (counts[0] != m_space.getWidth() || counts[1] != m_space.getHeight() ||
               counts[2] != m_space.getLength()) {
        m_link->offerModel(m_space);
    }
    message.source = m_spaceName;
    message.destination = model.reference;
    m_link->offerMessage(message);
    return true;
}

void SLCadmiumCsvFile::notePort(Model& model, std::string_view port) {
    std::vector<std::string>& ports = model.cell ? m_spacePorts : model.ports;
    if (std::find(ports.begin(), ports.end(), port) != ports.end()) {
        return;
    }
    ports.emplace_back(port);
    if (m_link == nullptr) {
        return;
    }
    if (model.cell) {
        m_cellRecord.reuseAsCell(m_spaceName);
        m_cellRecord.setOrigin(m_origin);
        m_cellRecord.appendOutputPort(std::string(port));
        m_link->offerModel(m_cellRecord);
    } else {
        m_plain.reuseAs(model.reference);
        m_plain.appendOutputPort(std::string(port));
        m_link->offerModel(m_plain);
    }
}

void SLCadmiumCsvFile::noteTime(double milliseconds) {
    if (std::isfinite(milliseconds) && milliseconds > m_latestTime) {
        m_latestTime = milliseconds;
    }
}

void SLCadmiumCsvFile::emit(const Row& row) {
    Model& model = modelOf(row);
    const double milliseconds = row.seconds * 1000.0;
    if (!announce(model, milliseconds)) {
        m_census.noteOther(row.line);
        return;
    }
    m_census.noteMessage(row.line, true);
    noteTime(milliseconds);
    const bool state = row.port.empty();
    if (!state) {
        notePort(model, row.port);
    }
    if (!std::isfinite(milliseconds) || m_link == nullptr) {
        return;
    }
    double value = 0.0;
    const bool hasValue = SLDataText::number(row.data, 0, value);
    if (state) {
        if (model.cell && hasValue) {
            notePort(model, kStatePort);
        }
        m_link->offerReadState(model.reference, milliseconds, row.data, hasValue);
        if (!model.cell || !hasValue) {
            return;
        }
    }
    const std::string& parent = model.cell ? m_spaceName : m_top;
    m_event.m_type = state ? SDEvent::kStateType : 1;
    m_event.m_time = SDTime(milliseconds);
    m_event.m_source.assign(model.reference);
    m_event.m_port.assign(state ? std::string_view(kStatePort) : row.port);
    m_event.m_value = value;
    m_event.m_destination.assign(parent);
    if (!m_link->offerEvent(m_event)) {
        logMessage("***Event already in event list***");
    }
    if (!state) {
        SDLogMessage message;
        message.kind = SDLogMessage::Kind::Output;
        message.time = milliseconds;
        message.source = model.reference;
        message.destination = parent;
        message.port = row.port;
        message.value = value;
        m_link->offerMessage(message);
    }
}
