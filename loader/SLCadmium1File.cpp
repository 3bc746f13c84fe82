#include "loader/SLCadmium1File.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <utility>

#include "loader/SLDataText.h"
#include "loader/SLRunSniff.h"
#include "loader/SLSink.h"
#include "shell/Log.h"
#include "simdata/SDLogMessage.h"

namespace {

constexpr std::string_view kStatePort = "out";

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

bool isRecord(std::string_view line) {
    std::string_view first;
    std::string_view second;
    return SLCadmium1Line::readMessageLine(line, first, second) ||
           SLCadmium1Line::readStateLine(line, first, second);
}

bool hasPort(const std::vector<std::string>& ports, std::string_view port) {
    return std::find(ports.begin(), ports.end(), port) != ports.end();
}

}  // namespace

SLCadmium1File::SLCadmium1File(SLSink* link, std::string fileName)
    : SLRunReader(link), m_fileName(std::move(fileName)), m_top(runTopName(m_fileName)) {}

SLCadmium1File::~SLCadmium1File() = default;

bool SLCadmium1File::recognises(const SLRunSniff& sniff) {
    // The first line of text is a time or a record, a record comes among the first lines, and most of
    // them are either: a program's own print may stand between them.
    int known = 0;
    int others = 0;
    bool record = false;
    for (const std::string& line : sniff.lines()) {
        if (isBlankLine(line)) {
            continue;
        }
        double time = 0.0;
        const bool isRecordLine = isRecord(line);
        if (isRecordLine || SLCadmium1Line::readTime(line, time)) {
            ++known;
            record = record || isRecordLine;
        } else if (known == 0) {
            return false;
        } else {
            ++others;
        }
    }
    return record && known > others;
}

std::string SLCadmium1File::runTopName(const std::string& path) {
    std::string stem =
        path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    const size_t dot = stem.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        stem.resize(dot);
    }
    // The two files of a run are mostly named <run>_messages and <run>_state: both give <run>.
    for (const std::string_view role : {"_messages", "_message", "_states", "_state"}) {
        if (stem.size() > role.size() && stem.compare(stem.size() - role.size(), role.size(), role) == 0) {
            stem.resize(stem.size() - role.size());
            break;
        }
    }
    for (char& c : stem) {
        const bool kept =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!kept) {
            c = '_';
        }
    }
    return stem.empty() ? std::string("run") : stem;
}

bool SLCadmium1File::open() {
    m_failure.clear();
    m_haveTime = false;
    m_latestTime = -std::numeric_limits<double>::infinity();
    std::string error;
    // The lines are read on the line reader's thread as far as each alone tells.
    const auto makeCuts = [] { return std::make_unique<SLCadmium1Cuts>(); };
    if (!m_source.open(m_fileName, kMaxLineLength, error, makeCuts)) {
        return failed("%s", error.c_str());
    }
    m_plainModels.clear();
    m_nextKey = 0;
    m_passedCells.clear();
    findOrigins();
    // A space a model file declared first keeps the origin it gave.
    std::string declared;
    std::array<int, 3> origin{};
    if (m_link != nullptr && m_link->declaredCellSpace(declared, origin)) {
        spaceOf(declared).origin = origin;
    }
    return true;
}

void SLCadmium1File::findOrigins() {
    m_spaces.clear();
    m_lastSpace = nullptr;
    m_lastSpaceName = {};
    std::ifstream in(m_fileName, std::ios::in);
    std::vector<char> buffer(kMaxLineLength + 1);
    bool inFirstTime = false;
    double firstTime = 0.0;
    SLCadmium1Line::CellId cell;
    uint64_t scanned = 0;
    while (in && scanned < kOriginScanBytes) {
        in.getline(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        scanned += static_cast<uint64_t>(in.gcount());
        if (in.fail() && !in.eof() && in.gcount() > 0) {
            // A line too long to be a record: the rest of it is skipped.
            in.clear();
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            continue;
        }
        const std::string_view line(buffer.data());
        double time = 0.0;
        if (SLCadmium1Line::readTime(line, time)) {
            if (inFirstTime && !(time == firstTime)) {
                return;
            }
            inFirstTime = true;
            firstTime = time;
            continue;
        }
        std::string_view first;
        std::string_view id;
        const bool record = SLCadmium1Line::readMessageLine(line, first, id) ||
                            SLCadmium1Line::readStateLine(line, id, first);
        if (!inFirstTime || !record || !SLCadmium1Line::readCellId(id, cell)) {
            continue;
        }
        Space& space = spaceOf(cell.space);
        for (size_t axis = 0; axis < 3; ++axis) {
            space.origin[axis] = std::min(space.origin[axis], cell.coordinates[axis]);
        }
    }
}

SLCadmium1File::Step SLCadmium1File::readLines(size_t maxLines) {
    if (!m_source.isOpen()) {
        return m_failure.empty() ? Step::Done : Step::Failed;
    }
    size_t handled = 0;
    for (;;) {
        const SLLineReader::Line* line = nullptr;
        switch (m_source.next(handled, maxLines, line)) {
            case SLLineSource::Next::Enough:
                return Step::More;
            case SLLineSource::Next::Failed:
                m_source.close();
                failed("Unable to read line %lld of log file: %s", m_source.lineNumber(), m_fileName.c_str());
                return Step::Failed;
            case SLLineSource::Next::End:
                m_source.close();
                return Step::Done;
            case SLLineSource::Next::Line:
                break;
        }
        const long long lineNumber = m_source.lineNumber() + 1;
        if (line->passOver) {
            m_census.noteOther(lineNumber);
            logMessage("Passing over line %lld of log file, longer than %zu characters: %s", lineNumber,
                       kMaxLineLength, m_fileName.c_str());
        }
        if (line->text != nullptr) {
            const auto& cuts = static_cast<const SLCadmium1Cuts&>(*m_source.cuts());
            handleLine(cuts, cuts.line(m_source.lineIndex()), lineNumber);
        }
        if (m_source.count(*line)) {
            ++handled;
        }
    }
}

void SLCadmium1File::handleLine(const SLCadmium1Cuts& cuts, const Cut& line, long long lineNumber) {
    switch (line.kind) {
        case Cut::Kind::Blank:
            return;
        case Cut::Kind::Time:
            m_haveTime = true;
            m_time = line.time;
            if (std::isfinite(line.time) && line.time > m_latestTime) {
                m_latestTime = line.time;
            }
            return;
        case Cut::Kind::Messages:
            if (m_haveTime) {
                handleMessages(cuts, line, lineNumber);
                return;
            }
            break;
        case Cut::Kind::State:
            if (m_haveTime) {
                handleState(line, lineNumber);
                return;
            }
            break;
        case Cut::Kind::Other:
            break;
    }
    // A record before any time line has no time to be at.
    m_census.noteOther(lineNumber);
}

void SLCadmium1File::handleMessages(const SLCadmium1Cuts& cuts, const Cut& line, long long lineNumber) {
    Model model;
    if (!line.outputsRead || !resolve(line, model)) {
        m_census.noteOther(lineNumber);
        return;
    }
    const SLCadmium1Cuts::Port* ports = line.portCount > 0 ? &cuts.port(line.firstPort) : nullptr;
    if (!offerRecord(model, ports, line.portCount, false)) {
        m_census.noteOther(lineNumber);
        return;
    }
    bool numbers = true;
    if (std::isfinite(m_time)) {
        for (size_t p = 0; p < line.portCount; ++p) {
            const SLCadmium1Cuts::Port& port = ports[p];
            for (size_t i = port.first; i < port.first + port.count; ++i) {
                const SLCadmium1Cuts::Message& message = cuts.message(i);
                numbers = numbers && message.numbered;
                offerOutput(model, port.name, message.value, true);
            }
        }
    }
    m_census.noteMessage(lineNumber, numbers);
}

void SLCadmium1File::handleState(const Cut& line, long long lineNumber) {
    Model model;
    if (!resolve(line, model)) {
        m_census.noteOther(lineNumber);
        return;
    }
    // A plain model's number colours nothing, but the store of states is told whether it has one.
    const bool colours = model.cell && line.numbered;
    if (!offerRecord(model, nullptr, 0, colours)) {
        m_census.noteOther(lineNumber);
        return;
    }
    if (std::isfinite(m_time) && m_link != nullptr) {
        m_link->offerKeyedState(model.key, m_reference, m_time, line.text, line.numbered);
        if (colours) {
            offerOutput(model, kStatePort, line.value, false);
        }
    }
    m_census.noteMessage(lineNumber, true);
}

SLCadmium1File::Space& SLCadmium1File::spaceOf(std::string_view name) {
    if (m_lastSpace != nullptr && name == m_lastSpaceName) {
        return *m_lastSpace;
    }
    auto found = m_spaces.find(name);
    if (found == m_spaces.end()) {
        found = m_spaces.emplace(std::string(name), Space()).first;
    }
    m_lastSpace = &found->second;
    m_lastSpaceName = found->first;
    return found->second;
}

bool SLCadmium1File::markOffered(Space& space, const std::array<int, 3>& coordinates, uint32_t& key) {
    std::array<uint64_t, 3> stored{};
    bool inside = true;
    for (size_t axis = 0; axis < 3; ++axis) {
        stored[axis] = static_cast<uint64_t>(static_cast<int64_t>(coordinates[axis]) - space.origin[axis]);
        inside = inside && stored[axis] < space.extent[axis];
    }
    if (!inside) {
        std::array<uint64_t, 3> extent{};
        for (size_t axis = 0; axis < 3; ++axis) {
            extent[axis] = std::max(space.extent[axis], stored[axis] + 1);
        }
        const auto fits = [](const std::array<uint64_t, 3>& box) {
            return box[0] <= SDCELLDevsModel::kMaxCells && box[1] <= SDCELLDevsModel::kMaxCells &&
                   box[2] <= SDCELLDevsModel::kMaxCells && box[0] * box[1] <= SDCELLDevsModel::kMaxCells &&
                   box[0] * box[1] * box[2] <= SDCELLDevsModel::kMaxCells;
        };
        if (!fits(extent)) {
            key = kNoKey;
            return true;
        }
        // Doubled where the limit allows, so that a space read cell by cell grows a few times only.
        for (size_t axis = 0; axis < 3; ++axis) {
            if (extent[axis] > space.extent[axis]) {
                std::array<uint64_t, 3> doubled = extent;
                doubled[axis] = std::max(extent[axis], space.extent[axis] * 2);
                if (fits(doubled)) {
                    extent = doubled;
                }
            }
        }
        std::vector<uint32_t> keys(extent[0] * extent[1] * extent[2], kNoKey);
        for (uint64_t x = 0; x < space.extent[0]; ++x) {
            for (uint64_t y = 0; y < space.extent[1]; ++y) {
                for (uint64_t z = 0; z < space.extent[2]; ++z) {
                    keys[(x * extent[1] + y) * extent[2] + z] =
                        space.keys[(x * space.extent[1] + y) * space.extent[2] + z];
                }
            }
        }
        space.keys.swap(keys);
        space.extent = extent;
    }
    uint32_t& held = space.keys[(stored[0] * space.extent[1] + stored[1]) * space.extent[2] + stored[2]];
    key = held;
    if (held != kNoKey) {
        return false;
    }
    held = key = m_nextKey++;
    return true;
}

bool SLCadmium1File::resolve(const Cut& line, Model& model) {
    m_reference = line.reference;
    if (!line.cell) {
        model = Model{};
        return true;
    }
    model.cell = true;
    model.space = line.space;
    model.record = &spaceOf(line.space);
    model.coordinates = line.coordinates;
    model.dimensions = line.dimensions;
    if (!m_passedCells.empty() && m_passedCells.count(m_reference) != 0) {
        return false;
    }
    const std::array<int, 3>& origin = model.record->origin;
    for (size_t axis = 0; axis < 3; ++axis) {
        if (line.coordinates[axis] < origin[axis]) {
            if (m_passedCells.emplace(m_reference).second) {
                logMessage(
                    "Passing over the lines of cell %s in log file %s: it lies below its space's first "
                    "cell (%d,%d,%d)",
                    std::string(m_reference).c_str(), m_fileName.c_str(), origin[0], origin[1], origin[2]);
            }
            return false;
        }
    }
    return true;
}

bool SLCadmium1File::offerRecord(Model& model, const SLCadmium1Cuts::Port* ports, size_t portCount,
                                 bool statePort) {
    bool isNew = false;
    std::vector<std::string>* portList = nullptr;
    bool* hasStatePort = nullptr;
    if (model.cell) {
        isNew = markOffered(*model.record, model.coordinates, model.key);
        portList = &model.record->ports;
        hasStatePort = &model.record->statePort;
    } else {
        const auto placed = m_plainModels.try_emplace(std::string(m_reference));
        isNew = placed.second;
        if (isNew) {
            placed.first->second.key = m_nextKey++;
        }
        model.key = placed.first->second.key;
        portList = &placed.first->second.ports;
        hasStatePort = &placed.first->second.statePort;
    }
    std::vector<std::string>& known = *portList;
    bool grew = false;
    for (size_t p = 0; p < portCount; ++p) {
        if (!hasPort(known, ports[p].name)) {
            known.emplace_back(ports[p].name);
            grew = true;
            *hasStatePort = *hasStatePort || ports[p].name == kStatePort;
        }
    }
    if (statePort && !*hasStatePort) {
        known.emplace_back(kStatePort);
        *hasStatePort = true;
        grew = true;
    }
    if ((!isNew && !grew) || m_link == nullptr) {
        return true;
    }
    if (!m_topOffered) {
        m_topOffered = true;
        m_plain.reuseAs(m_top);
        m_link->offerModel(m_plain);
    }
    if (isNew && model.cell) {
        if (!model.record->told) {
            model.record->told = true;
            tellParent(m_top, model.space);
        }
        tellParent(model.space, m_reference);
    } else if (isNew) {
        tellParent(m_top, m_reference);
    }
    if (!model.cell) {
        m_plain.reuseAs(m_reference);
        for (const std::string& port : known) {
            m_plain.appendOutputPort(port);
        }
        m_link->offerModel(m_plain);
        return true;
    }
    m_cells.reuseAsCell(model.space);
    const std::array<int, 3>& origin = model.record->origin;
    m_cells.setOrigin(origin);
    for (const std::string& port : known) {
        m_cells.appendOutputPort(port);
    }
    // A cell the registry cannot hold (logged by acceptCell) is passed over from then on, as one below
    // the origin is.
    // The space takes the run's own coordinates and stores them from its origin.
    if (!m_cells.acceptCell(model.coordinates[0], model.coordinates[1], model.coordinates[2])) {
        m_passedCells.emplace(m_reference);
        return false;
    }
    m_link->offerModel(m_cells);
    return true;
}

void SLCadmium1File::tellParent(std::string_view parent, std::string_view child) {
    SDLogMessage message;
    message.kind = SDLogMessage::Kind::Init;
    message.source = parent;
    message.destination = child;
    m_link->offerMessage(message);
}

void SLCadmium1File::offerOutput(const Model& model, std::string_view port, double value, bool message) {
    if (m_link == nullptr) {
        return;
    }
    SDEvent& event = m_event;
    event.m_type = message ? 1 : SDEvent::kStateType;
    event.m_time.setMilliseconds(m_time);
    event.m_source.assign(m_reference);
    // The port and the destination mostly stay from one event to the next.
    if (event.m_port != port) {
        event.m_port.assign(port);
    }
    event.m_value = value;
    const std::string_view destination = model.cell ? model.space : std::string_view(m_top);
    if (event.m_destination != destination) {
        event.m_destination.assign(destination);
    }
    if (!m_link->offerEvent(event)) {
        logMessage("***Event already in event list***");
    }
    if (!message) {
        return;
    }
    SDLogMessage output;
    output.kind = SDLogMessage::Kind::Output;
    output.time = m_time;
    output.source = event.m_source;
    output.destination = event.m_destination;
    output.port = event.m_port;
    output.value = value;
    m_link->offerMessage(output);
}
