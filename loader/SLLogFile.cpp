#include "loader/SLLogFile.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <new>
#include <utility>

#include "loader/SLSink.h"
#include "shell/Log.h"
#include "simdata/SDLogMessage.h"

namespace {

constexpr int kMessageFields = SLCutLine::kMessageFields;
// I and * lines: <word> <kind> <time> <source> <word> <destination>; D lines have the delay before the word.
constexpr int kShortFields = 6;
constexpr int kDoneFields = 7;

}  // namespace

SLLogFile::SLLogFile(SLSink* link, std::string fileName)
    : SLRunReader(link), m_fileName(std::move(fileName)) {}

SLLogFile::~SLLogFile() = default;

bool SLLogFile::open() {
    m_failure.clear();
    m_reader.reset();
    m_batch.reset();
    m_nextLine = 0;
    m_finished = false;
    m_lineNumber = 0;
    m_bytesDone = 0;
    m_fileSize = 0;
    m_latestTime = -std::numeric_limits<double>::infinity();
    m_lastTimeText.clear();
    m_offered.clear();
    auto stream = std::unique_ptr<std::ifstream>(new (std::nothrow) std::ifstream);
    if (stream == nullptr) {
        m_finished = true;
        return failed("Unable to create ifstream object.");
    }
    // The reader fetches large blocks itself; a stream buffer would only add a copy.
    stream->rdbuf()->pubsetbuf(nullptr, 0);
    // A directory or a device can be opened like a file, but yields no lines (or never ends): only a
    // regular file is taken for a log.
    struct stat info;
    const bool regular = ::stat(m_fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    if (regular) {
        m_fileSize = static_cast<uint64_t>(info.st_size);
        stream->open(m_fileName, std::ios::in);
    }
    if (!regular || !stream->good()) {
        finish(Step::Failed);
        return failed("Unable to open log file for import");
    }
    m_reader = std::make_unique<SLLineReader>(std::move(stream), kMaxLineLength, true);
    return true;
}

uint64_t SLLogFile::bytesRead() const {
    return m_bytesDone;
}

SLLogFile::Step SLLogFile::finish(Step step) {
    m_finished = true;
    if (m_batch != nullptr && (m_batch->atEnd || m_batch->failed)) {
        m_bytesDone = m_batch->bytes;
    }
    m_reader.reset();
    m_batch.reset();
    return step;
}

SLLogFile::Step SLLogFile::readLines(size_t maxLines) {
    if (m_finished || m_reader == nullptr) {
        return m_failure.empty() ? Step::Done : Step::Failed;
    }
    size_t handled = 0;
    for (;;) {
        if (m_batch == nullptr || m_nextLine == m_batch->lines.size()) {
            if (m_batch != nullptr && m_batch->failed) {
                finish(Step::Failed);
                failed("Unable to read line %lld of log file: %s", m_lineNumber, m_fileName.c_str());
                return Step::Failed;
            }
            if (m_batch != nullptr && m_batch->atEnd) {
                return finish(Step::Done);
            }
            if (handled >= maxLines) {
                return Step::More;
            }
            m_batch = m_reader->next(std::move(m_batch));
            m_nextLine = 0;
            if (m_batch == nullptr) {
                return finish(Step::Done);  // cannot happen: the last batch says how the file ended
            }
            for (size_t ahead = 0; ahead < kForeseeFar; ++ahead) {
                foresee(ahead, ahead < kForeseeNear);
            }
            continue;
        }
        if (handled >= maxLines) {
            return Step::More;
        }
        foresee(m_nextLine + kForeseeFar, false);
        foresee(m_nextLine + kForeseeNear, true);
        const SLLineReader::Line& line = m_batch->lines[m_nextLine++];
        if (line.passOver) {
            passOver(m_lineNumber);
        }
        if (line.text != nullptr) {
            m_handedLine = line.text;
            m_handedCut = &line.cut;
            const bool parsed = parseLine(line.text);
            m_handedLine = nullptr;
            m_handedCut = nullptr;
            if (!parsed) {
                finish(Step::Failed);
                failed("Unable to parse line %lld of log file: %s", m_lineNumber, m_fileName.c_str());
                return Step::Failed;
            }
        }
        if (line.counted) {
            ++m_lineNumber;
            ++handled;
            m_bytesDone = line.end;
        }
    }
}

void SLLogFile::foresee(size_t index, bool next) {
    if (m_link == nullptr || index >= m_batch->lines.size()) {
        return;
    }
    const SLLineReader::Line& line = m_batch->lines[index];
    if (line.text != nullptr && line.cut.isEvent) {
        m_link->foreseeNames(line.cut.ends[0].hash, line.cut.ends[1].hash, next);
    }
}

void SLLogFile::passOver(long long lineNumber) {
    m_census.noteOther(lineNumber + 1);
    logMessage("Passing over line %lld of log file, longer than %zu characters: %s", lineNumber,
               kMaxLineLength, m_fileName.c_str());
}

bool SLLogFile::parseLine(const char* line) {
    if (line == nullptr) {
        return true;
    }
    if (line == m_handedLine && m_handedCut != nullptr) {
        return parseCut(line, *m_handedCut);
    }
    m_ownCut.cut(line, m_number);
    return parseCut(line, m_ownCut);
}

bool SLLogFile::parseCut(const char* line, const SLCutLine& cut) {
    const long long lineNumber = m_lineNumber + 1;
    const std::string_view* fields = cut.fields;
    const int count = cut.count;
    // An event is counted below, once its value has been read.
    if (!cut.isEvent) {
        if (cut.timed) {
            m_census.noteMessage(lineNumber, cut.wholeTime);
        } else if (count > 0) {
            m_census.noteOther(lineNumber);
        }
    }
    if (cut.isEvent) {
        noteTime(cut.time.getMilliseconds());
    } else if (cut.timed) {
        noteTime(cut.timeText);
    }
    if (count == kShortFields || count == kDoneFields) {
        noteNamedCells(cut);
        offerShortLine(cut);
        return true;
    }
    if (count != kMessageFields) {
        return true;
    }
    const std::string_view kind = fields[1];
    if (!cut.isEvent) {
        noteNamedCells(cut);
        m_text.assign(kind);
        logText(m_text);
        logMessage("Ignoring non external or output message");
        return true;
    }
    if (logWanted()) {
        logMessage("Adding event");
        m_text.assign(line);
        logText(m_text);
    }

    SDEvent& event = m_event;
    event.m_type = kind == "X" ? 0 : 1;
    event.m_time = cut.time;
    event.m_source.assign(cut.ends[0].reference);
    event.m_port.assign(fields[4]);
    // The value stays 0 when the field is not a number, and is read as far as it goes, never on into the
    // next field.
    event.m_value = cut.value;
    m_census.noteMessage(lineNumber, cut.numbersWhole);
    event.m_destination.assign(cut.ends[1].reference);

    offerEnds(cut, event.m_type == 1 ? 'o' : 'i', fields[4]);
    if (m_link == nullptr || !m_link->offerEvent(event)) {
        logMessage("***Event already in event list***");
    }
    if (m_link != nullptr) {
        SDLogMessage message;
        message.kind = event.m_type == 0 ? SDLogMessage::Kind::External : SDLogMessage::Kind::Output;
        message.time = event.m_time.getMilliseconds();
        message.source = cut.ends[0].reference;
        message.destination = cut.ends[1].reference;
        message.port = fields[4];
        message.value = event.m_value;
        m_link->offerMessage(message);
    }
    return true;
}

void SLLogFile::offerShortLine(const SLCutLine& cut) {
    const std::string_view* fields = cut.fields;
    const int count = cut.count;
    const std::string_view kind = fields[1];
    SDLogMessage message;
    if (count == kShortFields && (kind == "I" || kind == "*")) {
        message.kind = kind == "I" ? SDLogMessage::Kind::Init : SDLogMessage::Kind::Internal;
    } else if (count == kDoneFields && kind == "D") {
        message.kind = SDLogMessage::Kind::Done;
        message.passive = fields[4] == "...";
    } else {
        return;
    }
    if (m_link == nullptr) {
        return;
    }
    message.source = cut.ends[0].reference;
    message.destination = cut.ends[1].reference;
    // Most short lines of a Cell-DEVS run pass between a cell and its space; their times are not read.
    if (!message.namesCell()) {
        m_number.assign(fields[2]);
        SDTime time;
        time.parse(m_number);
        message.time = time.getMilliseconds();
        if (message.kind == SDLogMessage::Kind::Done && !message.passive) {
            m_number.assign(fields[4]);
            SDTime delay;
            delay.parse(m_number);
            message.delay = delay.getMilliseconds();
        }
    }
    m_link->offerMessage(message);
}

void SLLogFile::noteTime(double milliseconds) {
    if (std::isfinite(milliseconds) && milliseconds > m_latestTime) {
        m_latestTime = milliseconds;
    }
}

void SLLogFile::noteTime(std::string_view text) {
    // Lines come in runs of one time: each distinct text is read once.
    if (text == m_lastTimeText) {
        return;
    }
    m_lastTimeText.assign(text);
    SDTime time;
    time.parse(m_lastTimeText);
    noteTime(time.getMilliseconds());
}

void SLLogFile::noteNamedCells(const SLCutLine& cut) {
    // I and * lines name their source and destination in 6 fields, D lines in 7 (the next time before
    // "to"); the reader has split them.
    if (cut.endsCut && !cut.isEvent) {
        m_namedCells.note(cut.ends[0]);
        m_namedCells.note(cut.ends[1]);
    }
}

void SLLogFile::offerEnds(const SLCutLine& cut, char portKind, std::string_view port) {
    // The source gets an output message's port, the destination an external one's.
    const char kinds[2] = {portKind == 'o' ? 'o' : '\0', portKind == 'i' ? 'i' : '\0'};
    const std::string_view ports[2] = {kinds[0] != 0 ? port : std::string_view(),
                                       kinds[1] != 0 ? port : std::string_view()};
    // While every line is logged, a cell space is printed at every offer.
    uint64_t stamp = 0;
    const bool stamped = m_link != nullptr && !logWanted() && m_link->modelsStamp(stamp);
    SDDevsModel* records[2] = {nullptr, nullptr};
    bool accepted[2] = {true, true};
    // Both records are filled before either is offered: a refused cell is reported while filling.
    for (int end = 0; end < 2; ++end) {
        if (!stamped || !m_offered.covers(end, cut.ends[end], kinds[end], ports[end], stamp)) {
            records[end] = &fillModel(end, cut.ends[end], accepted[end]);
        }
    }
    if (records[0] != nullptr && kinds[0] != 0) {
        records[0]->appendOutputPort(m_event.m_port);
    }
    if (records[1] != nullptr && kinds[1] != 0) {
        records[1]->appendInputPort(m_event.m_port);
    }
    if (m_link == nullptr) {
        return;
    }
    for (int end = 0; end < 2; ++end) {
        if (records[end] == nullptr) {
            continue;
        }
        m_link->offerModel(*records[end]);
        uint64_t after = 0;
        if (stamped && m_link->modelsStamp(after)) {
            m_offered.offered(end, cut.ends[end], kinds[end], ports[end], stamp, after, accepted[end]);
            stamp = after;
        }
    }
}

SDDevsModel& SLLogFile::fillModel(int end, const SLCutLine::End& reference, bool& accepted) {
    accepted = true;
    if (!reference.cell) {
        m_plain[end].reuseAs(reference.reference);
        return m_plain[end];
    }
    SDCELLDevsModel& cell = m_cells[end];
    // Named first: a refused coordinate is reported with the model's name.
    cell.reuseAsCell(reference.model);
    accepted = cell.acceptCell(reference.coordinates[0], reference.coordinates[1], reference.coordinates[2]);
    return cell;
}
