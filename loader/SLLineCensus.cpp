#include "loader/SLLineCensus.h"

#include <cstring>

#include "loader/SLLogFields.h"

namespace {

bool isSeparator(char c) {
    return c == ' ' || c == '/';
}

bool isWholeNumber(std::string_view part) {
    if (!part.empty() && (part.front() == '+' || part.front() == '-')) {
        part.remove_prefix(1);
    }
    if (part.empty()) {
        return false;
    }
    for (char c : part) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace

bool SLLineCensus::isMessage(const char* line, std::string_view* time) {
    std::string_view words[2];
    std::string_view found;
    if (line == nullptr || cutLogFields(line, words, 2) < 2 || !isMessageKind(words[1]) ||
        !findTime(line, found)) {
        return false;
    }
    if (time != nullptr) {
        *time = found;
    }
    return true;
}

bool SLLineCensus::isMessageKind(std::string_view word) {
    return word == "I" || word == "*" || word == "D" || word == "X" || word == "Y";
}

bool SLLineCensus::findTime(const char* line, std::string_view& time) {
    const char* p = line != nullptr ? std::strchr(line, '/') : nullptr;
    if (p == nullptr) {
        return false;
    }
    while (isSeparator(*p)) {
        ++p;
    }
    const char* start = p;
    int colons = 0;
    while (*p != '\0' && !isSeparator(*p)) {
        colons += *p == ':' ? 1 : 0;
        ++p;
    }
    if (colons != 3) {
        return false;
    }
    time = std::string_view(start, static_cast<size_t>(p - start));
    return true;
}

bool SLLineCensus::isWholeTime(std::string_view time) {
    int parts = 0;
    for (;;) {
        const size_t colon = time.find(':');
        if (!isWholeNumber(time.substr(0, colon))) {
            return false;
        }
        ++parts;
        if (colon == std::string_view::npos) {
            return parts == 4;
        }
        time.remove_prefix(colon + 1);
    }
}

void SLLineCensus::noteMessage(long long lineNumber, bool numbersRead) {
    ++m_messages;
    if (!numbersRead && m_notNumbers++ == 0) {
        m_firstNotNumber = lineNumber;
    }
}

void SLLineCensus::noteOther(long long lineNumber) {
    if (m_others++ == 0) {
        m_firstOther = lineNumber;
    }
}

std::vector<std::string> SLLineCensus::reports() const {
    std::vector<std::string> lines;
    if (m_others > 0) {
        lines.push_back("Passed over " + std::to_string(m_others) +
                        (m_others == 1 ? " line that is not a message" : " lines that are not messages") +
                        ", the first at line " + std::to_string(m_firstOther));
    }
    if (m_notNumbers > 0) {
        lines.push_back("Read " + std::to_string(m_notNumbers) +
                        (m_notNumbers == 1 ? " message line" : " message lines") +
                        " with a time or value that is not a number, as 0, the first at line " +
                        std::to_string(m_firstNotNumber));
    }
    return lines;
}
