#include "loader/SLCutLine.h"

#include <charconv>
#include <cstdlib>

#include "loader/SLLineCensus.h"
#include "loader/SLLogFields.h"
#include "simdata/SDCellName.h"
#include "simdata/SDNameTable.h"

namespace {

// A message's value, read as strtod reads it from the start of the field, as far as it goes. A value
// written in decimal, the whole field, is read with from_chars: no copy to end the text and none of
// strtod's locale work, with the same correctly rounded result. Anything else (a '+', hexadecimal, text
// after the number, a value out of range) goes to strtod over a copy. Never reads on into the next field.
double readValue(std::string_view field, std::string& scratch, bool& whole) {
    double number = 0.0;
    const char* end = field.data() + field.size();
    const std::from_chars_result quick = std::from_chars(field.data(), end, number);
    if (quick.ec == std::errc() && quick.ptr == end) {
        whole = true;
        return number;
    }
    scratch.assign(field);
    char* stop = nullptr;
    number = std::strtod(scratch.c_str(), &stop);
    const bool read = stop != scratch.c_str();
    whole = read && *stop == '\0';
    return read ? number : 0.0;
}

void splitEnd(std::string_view field, SLCutLine::End& end, std::string& scratch) {
    end.reference = SLCutLine::withoutIdentifier(field);
    end.cell = splitCellName(end.reference, end.model, end.coordinates, scratch);
}

}  // namespace

std::string_view SLCutLine::withoutIdentifier(std::string_view reference) {
    const size_t open = reference.rfind('(');
    return open == std::string_view::npos ? reference : reference.substr(0, open);
}

void SLCutLine::Times::take(std::string_view text) {
    if (m_known && text == m_text) {
        return;
    }
    m_text.assign(text);
    m_known = true;
    m_whole = SLLineCensus::isWholeTime(text);
    m_parsed = false;
}

bool SLCutLine::Times::isWhole(std::string_view text) {
    take(text);
    return m_whole;
}

SDTime SLCutLine::Times::parse(std::string_view text) {
    take(text);
    if (!m_parsed) {
        m_time.parse(m_text);
        m_parsed = true;
    }
    return m_time;
}

void SLCutLine::cut(const char* line, std::string& scratch) {
    cutWith(line, scratch, nullptr);
}

void SLCutLine::cut(const char* line, std::string& scratch, Times& times) {
    cutWith(line, scratch, &times);
}

void SLCutLine::cutWith(const char* line, std::string& scratch, Times* times) {
    count = cutLogFields(line, fields, kMessageFields);
    isEvent = count == kMessageFields && (fields[1] == "X" || fields[1] == "Y");
    timed = wholeTime = false;
    timeText = std::string_view();
    endsCut = isEvent;
    if (!isEvent) {
        std::string_view found;
        if (count >= 2 && SLLineCensus::isMessageKind(fields[1]) && SLLineCensus::findTime(line, found)) {
            timed = true;
            wholeTime = times != nullptr ? times->isWhole(found) : SLLineCensus::isWholeTime(found);
            timeText = found;
        }
        if (count >= 6 && count <= kMessageFields &&
            (fields[1] == "I" || fields[1] == "D" || fields[1] == "*")) {
            endsCut = true;
            splitEnd(fields[3], ends[0], scratch);
            splitEnd(fields[count - 1], ends[1], scratch);
        }
        return;
    }
    if (times != nullptr) {
        time = times->parse(fields[2]);
    } else {
        scratch.assign(fields[2]);
        time.parse(scratch);
    }
    bool valueWhole = false;
    value = readValue(fields[5], scratch, valueWhole);
    numbersWhole =
        valueWhole && (times != nullptr ? times->isWhole(fields[2]) : SLLineCensus::isWholeTime(fields[2]));
    splitEnd(fields[3], ends[0], scratch);
    splitEnd(fields[7], ends[1], scratch);
    ends[0].hash = SDNameTable::hashOf(ends[0].reference);
    ends[1].hash = SDNameTable::hashOf(ends[1].reference);
}
