#include "loader/SLLogFile.h"

#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <new>
#include <utility>
#include <vector>

#include "loader/SLLogFields.h"
#include "loader/SLSink.h"
#include "shell/Log.h"
#include "shell/TextScan.h"
#include "simdata/SDCellName.h"

namespace {

constexpr int kMessageFields = 8;
constexpr size_t kBlock = size_t{1} << 16;

// A directory or a device can be opened like a file, but yields no lines (or never ends): only a regular
// file is taken for a log.
bool isRegularFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The event's end of a model reference: the text before its last '(' (the identifier is dropped), or the
// whole reference when it has none.
std::string_view withoutIdentifier(std::string_view reference) {
    const size_t open = reference.rfind('(');
    return open == std::string_view::npos ? reference : reference.substr(0, open);
}

}  // namespace

SLLogFile::SLLogFile(SLSink* link, std::string fileName) : SLBase(link), m_fileName(std::move(fileName)) {}

SLLogFile::~SLLogFile() = default;

bool SLLogFile::load() {
    m_failure.clear();
    std::unique_ptr<std::ifstream> stream(new (std::nothrow) std::ifstream);
    if (stream == nullptr) {
        return failed("Unable to create ifstream object.");
    }
    // The reader below fetches large blocks itself; a stream buffer would only add a copy.
    stream->rdbuf()->pubsetbuf(nullptr, 0);
    const bool regular = isRegularFile(m_fileName);
    if (regular) {
        stream->open(m_fileName, std::ios::in);
    }
    if (!regular || !stream->good()) {
        return failed("Unable to open log file for import");
    }

    // Lines are cut in place inside the block buffer: the line feed (and a '\r' before it) becomes the
    // terminator, so a line is never copied. A line longer than the buffer makes the buffer grow, up to
    // about twice the longest line that is handed on; the bytes of a longer line are dropped as they come.
    std::vector<char> buffer(kBlock);
    size_t begin = 0;     // start of the current line
    size_t searched = 0;  // where the search for its line feed goes on
    size_t end = 0;       // end of the bytes read
    bool atEnd = false;
    bool tooLong = false;  // the current line is being passed over
    long long lineNumber = 0;
    for (;;) {
        char* data = buffer.data();
        char* feed = static_cast<char*>(std::memchr(data + searched, '\n', end - searched));
        if (feed == nullptr) {
            if (atEnd) {
                if (begin == end || tooLong) {
                    return true;
                }
                data[end] = '\0';  // a last line without a line feed; reads always leave room for this
                feed = data + end;
            } else {
                // One more for a '\r' that may end the line: that line is still short enough.
                if (!tooLong && end - begin > kMaxLineLength + 1) {
                    passOver(lineNumber);
                    tooLong = true;
                }
                if (tooLong) {
                    begin = end = 0;
                } else if (begin > 0) {
                    std::memmove(data, data + begin, end - begin);
                    end -= begin;
                    begin = 0;
                }
                if (buffer.size() - end < kBlock / 2) {
                    buffer.resize(buffer.size() * 2);
                    data = buffer.data();
                }
                searched = end;
                const size_t wanted = buffer.size() - end - 1;
                stream->read(data + end, static_cast<std::streamsize>(wanted));
                if (stream->bad()) {
                    return failed("Unable to read line %lld of log file: %s", lineNumber, m_fileName.c_str());
                }
                const std::streamsize got = stream->gcount();
                end += static_cast<size_t>(got);
                atEnd = static_cast<size_t>(got) < wanted;
                continue;
            }
        }
        *feed = '\0';
        char* lineEnd = feed;
        // Also at the end of a file cut between the '\r' and the '\n' of its last line.
        if (feed > data + begin && feed[-1] == '\r') {
            *--lineEnd = '\0';
        }
        if (!tooLong && static_cast<size_t>(lineEnd - (data + begin)) > kMaxLineLength) {
            passOver(lineNumber);
            tooLong = true;
        }
        if (!tooLong && !parseLine(data + begin)) {
            return failed("Unable to parse line %lld of log file: %s", lineNumber, m_fileName.c_str());
        }
        tooLong = false;
        ++lineNumber;
        if (feed == data + end) {
            return true;
        }
        begin = searched = static_cast<size_t>(feed - data) + 1;
    }
}

void SLLogFile::passOver(long long lineNumber) {
    logMessage("Passing over line %lld of log file, longer than %zu characters: %s", lineNumber,
               kMaxLineLength, m_fileName.c_str());
}

bool SLLogFile::parseLine(const char* line) {
    std::string_view fields[kMessageFields];
    if (line == nullptr || cutLogFields(line, fields, kMessageFields) != kMessageFields) {
        return true;
    }
    const std::string_view kind = fields[1];
    if (kind != "X" && kind != "Y") {
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
    // The value stays 0 when the field is not a number. Scanned from a copy so that it cannot run on
    // into the next field.
    event.m_value = 0.0;
    m_number.assign(fields[5]);
    scanDouble(m_number.c_str(), event.m_value);
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
    return true;
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
