#include "loader/SLLogFile.h"

#include <sys/stat.h>

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <utility>
#include <vector>

#include "loader/SLLogFields.h"
#include "loader/SLSink.h"
#include "shell/Log.h"
#include "simdata/SDCellName.h"
#include "simdata/SDLogMessage.h"

namespace {

constexpr int kMessageFields = 8;
// I and * lines: <word> <kind> <time> <source> <word> <destination>; D lines have the delay before the word.
constexpr int kShortFields = 6;
constexpr int kDoneFields = 7;
constexpr size_t kBlock = size_t{1} << 16;

// The event's end of a model reference: the text before its last '(' (the identifier is dropped), or the
// whole reference when it has none.
std::string_view withoutIdentifier(std::string_view reference) {
    const size_t open = reference.rfind('(');
    return open == std::string_view::npos ? reference : reference.substr(0, open);
}

// A message's value, read as strtod reads it from the start of the field, as far as it goes.
struct Value {
    double number = 0.0;
    bool read = false;   // some of the field is a number
    bool whole = false;  // all of it is
};

// A value written in decimal, the whole field, is read with from_chars: no copy to end the text and none
// of strtod's locale work, with the same correctly rounded result. Anything else (a '+', hexadecimal, text
// after the number, a value out of range) goes to strtod over a copy, as before.
Value readValue(std::string_view field, std::string& scratch) {
    Value value;
    const char* end = field.data() + field.size();
    const std::from_chars_result quick = std::from_chars(field.data(), end, value.number);
    if (quick.ec == std::errc() && quick.ptr == end) {
        value.read = value.whole = true;
        return value;
    }
    scratch.assign(field);
    char* stop = nullptr;
    const double number = std::strtod(scratch.c_str(), &stop);
    value.read = stop != scratch.c_str();
    value.whole = value.read && *stop == '\0';
    value.number = value.read ? number : 0.0;
    return value;
}

}  // namespace

SLLogFile::SLLogFile(SLSink* link, std::string fileName) : SLBase(link), m_fileName(std::move(fileName)) {}

SLLogFile::~SLLogFile() = default;

bool SLLogFile::load() {
    if (!open()) {
        return false;
    }
    Step step = Step::More;
    while (step == Step::More) {
        step = readLines(SIZE_MAX);
    }
    return step == Step::Done;
}

bool SLLogFile::open() {
    m_failure.clear();
    m_stream.reset(new (std::nothrow) std::ifstream);
    m_finished = false;
    m_begin = m_searched = m_end = 0;
    m_atEnd = m_tooLong = false;
    m_lineNumber = 0;
    m_bufferOffset = 0;
    m_fileSize = 0;
    if (m_stream == nullptr) {
        m_finished = true;
        return failed("Unable to create ifstream object.");
    }
    // The reader below fetches large blocks itself; a stream buffer would only add a copy.
    m_stream->rdbuf()->pubsetbuf(nullptr, 0);
    // A directory or a device can be opened like a file, but yields no lines (or never ends): only a
    // regular file is taken for a log.
    struct stat info;
    const bool regular = ::stat(m_fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    if (regular) {
        m_fileSize = static_cast<uint64_t>(info.st_size);
        m_stream->open(m_fileName, std::ios::in);
    }
    if (!regular || !m_stream->good()) {
        finish(Step::Failed);
        return failed("Unable to open log file for import");
    }
    m_buffer.resize(kBlock);
    return true;
}

uint64_t SLLogFile::bytesRead() const {
    return m_bufferOffset + (m_finished ? m_end : m_begin);
}

SLLogFile::Step SLLogFile::finish(Step step) {
    m_finished = true;
    m_stream.reset();
    std::vector<char>().swap(m_buffer);
    return step;
}

// Lines are cut in place inside the block buffer: the line feed (and a '\r' before it) becomes the
// terminator, so a line is never copied. A line longer than the buffer makes the buffer grow, up to about
// twice the longest line that is handed on; the bytes of a longer line are dropped as they come.
SLLogFile::Step SLLogFile::readLines(size_t maxLines) {
    if (m_finished || m_stream == nullptr) {
        return m_failure.empty() ? Step::Done : Step::Failed;
    }
    size_t handled = 0;
    for (;;) {
        char* data = m_buffer.data();
        char* feed = static_cast<char*>(std::memchr(data + m_searched, '\n', m_end - m_searched));
        if (feed == nullptr) {
            if (m_atEnd) {
                if (m_begin == m_end || m_tooLong) {
                    return finish(Step::Done);
                }
                data[m_end] = '\0';  // a last line without a line feed; reads always leave room for this
                feed = data + m_end;
            } else {
                if (handled >= maxLines) {
                    return Step::More;
                }
                // One more for a '\r' that may end the line: that line is still short enough.
                if (!m_tooLong && m_end - m_begin > kMaxLineLength + 1) {
                    passOver(m_lineNumber);
                    m_tooLong = true;
                }
                if (m_tooLong) {
                    m_bufferOffset += m_end;
                    m_begin = m_end = 0;
                } else if (m_begin > 0) {
                    std::memmove(data, data + m_begin, m_end - m_begin);
                    m_bufferOffset += m_begin;
                    m_end -= m_begin;
                    m_begin = 0;
                }
                if (m_buffer.size() - m_end < kBlock / 2) {
                    m_buffer.resize(m_buffer.size() * 2);
                    data = m_buffer.data();
                }
                m_searched = m_end;
                const size_t wanted = m_buffer.size() - m_end - 1;
                m_stream->read(data + m_end, static_cast<std::streamsize>(wanted));
                if (m_stream->bad()) {
                    finish(Step::Failed);
                    failed("Unable to read line %lld of log file: %s", m_lineNumber, m_fileName.c_str());
                    return Step::Failed;
                }
                const std::streamsize got = m_stream->gcount();
                m_end += static_cast<size_t>(got);
                m_atEnd = static_cast<size_t>(got) < wanted;
                continue;
            }
        }
        if (handled >= maxLines) {
            return Step::More;
        }
        *feed = '\0';
        char* lineEnd = feed;
        // Also at the end of a file cut between the '\r' and the '\n' of its last line.
        if (feed > data + m_begin && feed[-1] == '\r') {
            *--lineEnd = '\0';
        }
        if (!m_tooLong && static_cast<size_t>(lineEnd - (data + m_begin)) > kMaxLineLength) {
            passOver(m_lineNumber);
            m_tooLong = true;
        }
        if (!m_tooLong && !parseLine(data + m_begin)) {
            finish(Step::Failed);
            failed("Unable to parse line %lld of log file: %s", m_lineNumber, m_fileName.c_str());
            return Step::Failed;
        }
        m_tooLong = false;
        ++m_lineNumber;
        ++handled;
        if (feed == data + m_end) {
            return finish(Step::Done);
        }
        m_begin = m_searched = static_cast<size_t>(feed - data) + 1;
    }
}

void SLLogFile::passOver(long long lineNumber) {
    m_census.noteOther(lineNumber + 1);
    logMessage("Passing over line %lld of log file, longer than %zu characters: %s", lineNumber,
               kMaxLineLength, m_fileName.c_str());
}

bool SLLogFile::parseLine(const char* line) {
    const long long lineNumber = m_lineNumber + 1;
    std::string_view fields[kMessageFields];
    if (line == nullptr) {
        return true;
    }
    const int count = cutLogFields(line, fields, kMessageFields);
    // An event is counted below, once its value has been read.
    const bool isEvent = count == kMessageFields && (fields[1] == "X" || fields[1] == "Y");
    if (!isEvent) {
        std::string_view time;
        if (count >= 2 && SLLineCensus::isMessageKind(fields[1]) && SLLineCensus::findTime(line, time)) {
            m_census.noteMessage(lineNumber, SLLineCensus::isWholeTime(time));
        } else if (count > 0) {
            m_census.noteOther(lineNumber);
        }
    }
    if (count == kShortFields || count == kDoneFields) {
        noteNamedCells(fields, count);
        offerShortLine(fields, count);
        return true;
    }
    if (count != kMessageFields) {
        return true;
    }
    const std::string_view kind = fields[1];
    if (!isEvent) {
        noteNamedCells(fields, count);
        m_text.assign(kind);
        logText(m_text);
        logMessage("Ignoring non external or output message");
        return true;
    }
    logMessage("Adding event");
    m_text.assign(line);
    logText(m_text);

    SDEvent& event = m_event;
    event.m_type = kind == "X" ? 0 : 1;
    m_number.assign(fields[2]);
    event.m_time.parse(m_number);
    event.m_source.assign(withoutIdentifier(fields[3]));
    event.m_port.assign(fields[4]);
    // The value stays 0 when the field is not a number, and is read as far as it goes, never on into the
    // next field.
    const Value value = readValue(fields[5], m_number);
    event.m_value = value.number;
    m_census.noteMessage(lineNumber, value.whole && SLLineCensus::isWholeTime(fields[2]));
    event.m_destination.assign(withoutIdentifier(fields[7]));

    // Both records are filled before either is offered: a refused cell is reported while filling.
    SDDevsModel& source = fillModel(0, event.m_source);
    SDDevsModel& destination = fillModel(1, event.m_destination);
    if (event.m_type == 1) {
        source.appendOutputPort(event.m_port);
    } else {
        destination.appendInputPort(event.m_port);
    }
    if (m_link != nullptr) {
        m_link->offerModel(source);
        m_link->offerModel(destination);
    }
    if (m_link == nullptr || !m_link->offerEvent(event)) {
        logMessage("***Event already in event list***");
    }
    if (m_link != nullptr) {
        SDLogMessage message;
        message.kind = event.m_type == 0 ? SDLogMessage::Kind::External : SDLogMessage::Kind::Output;
        message.time = event.m_time.getMilliseconds();
        message.source = withoutIdentifier(fields[3]);
        message.destination = withoutIdentifier(fields[7]);
        message.port = fields[4];
        message.value = event.m_value;
        m_link->offerMessage(message);
    }
    return true;
}

void SLLogFile::offerShortLine(const std::string_view* fields, int count) {
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
    message.source = withoutIdentifier(fields[3]);
    message.destination = withoutIdentifier(fields[count - 1]);
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

void SLLogFile::noteNamedCells(const std::string_view* fields, int count) {
    // "msg I / time / source to destination" and "*" lines have 6 fields, D lines 7 (the next time
    // before "to").
    if (count < 6 || count > kMessageFields) {
        return;
    }
    const std::string_view kind = fields[1];
    if (kind != "I" && kind != "D" && kind != "*") {
        return;
    }
    m_namedCells.note(withoutIdentifier(fields[3]));
    m_namedCells.note(withoutIdentifier(fields[count - 1]));
}

SDDevsModel& SLLogFile::fillModel(int end, std::string_view reference) {
    std::string_view name;
    long long coordinates[3];
    if (!splitCellName(reference, name, coordinates, m_number)) {
        m_plain[end].reuseAs(reference);
        return m_plain[end];
    }
    SDCELLDevsModel& cell = m_cells[end];
    // Named first: a refused coordinate is reported with the model's name.
    cell.reuseAsCell(name);
    cell.acceptCell(coordinates[0], coordinates[1], coordinates[2]);
    return cell;
}
