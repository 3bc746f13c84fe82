#include "loader/SLCsvRow.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool onlyBlanks(std::string_view text) {
    for (char c : text) {
        if (!isBlank(c)) {
            return false;
        }
    }
    return true;
}

// The position of the ')' that closes the '(' at text[0]; npos when none does.
size_t matchingParenthesis(std::string_view text) {
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')' && --depth == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

}  // namespace

namespace SLCsvRow {

std::string_view withoutByteOrderMark(std::string_view line) {
    if (line.size() >= 3 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        line.remove_prefix(3);
    }
    return line;
}

bool separatorLine(std::string_view line, char& separator) {
    while (!line.empty() && isBlank(line.back())) {
        line.remove_suffix(1);
    }
    if (line.size() != 5 || line.compare(0, 4, "sep=") != 0) {
        return false;
    }
    separator = line[4];
    return true;
}

bool headerLine(std::string_view line, char& separator) {
    while (!line.empty() && isBlank(line.back())) {
        line.remove_suffix(1);
    }
    if (line.size() < 5 || line.compare(0, 4, "time") != 0) {
        return false;
    }
    const char sep = separator != 0 ? separator : line[4];
    const std::string expected =
        std::string("time") + sep + "model_id" + sep + "model_name" + sep + "port_name" + sep + "data";
    if (line != expected) {
        return false;
    }
    separator = sep;
    return true;
}

bool recognise(const std::vector<std::string>& lines) {
    char separator = 0;
    bool first = true;
    for (const std::string& whole : lines) {
        std::string_view line = whole;
        if (first) {
            line = withoutByteOrderMark(line);
            first = false;
        }
        if (onlyBlanks(line)) {
            continue;
        }
        if (separator == 0 && separatorLine(line, separator)) {
            continue;
        }
        return headerLine(line, separator);
    }
    return false;
}

bool beginsRow(std::string_view line, char separator, double& seconds) {
    const size_t end = line.find(separator);
    if (end == std::string_view::npos || end == 0 || end > 64) {
        return false;
    }
    const char c = line[0];
    if (!(c == '-' || c == '+' || c == '.' || c == 'i' || c == 'I' || (c >= '0' && c <= '9'))) {
        return false;
    }
    // strtod needs its text to end; a time is short.
    char text[65];
    line.copy(text, end);
    text[end] = '\0';
    char* stop = nullptr;
    const double value = std::strtod(text, &stop);
    if (stop != text + end || std::isnan(value)) {
        return false;
    }
    // strtod reads hexadecimal too ("0x1p3"); a log's times are decimal.
    if (line.substr(0, end).find_first_of("xX") != std::string_view::npos) {
        return false;
    }
    seconds = value;
    return true;
}

bool cut(std::string_view line, char separator, Fields& fields) {
    if (!beginsRow(line, separator, fields.seconds)) {
        return false;
    }
    return cutAfterTime(line, separator, line.find(separator), fields);
}

bool cutAfterTime(std::string_view line, char separator, size_t timeEnd, Fields& fields) {
    size_t at = timeEnd;
    fields.time = line.substr(0, at);
    size_t next = line.find(separator, at + 1);
    if (next == std::string_view::npos || next == at + 1) {
        return false;
    }
    fields.id = line.substr(at + 1, next - at - 1);
    at = next + 1;
    if (at < line.size() && line[at] == '(') {
        const size_t close = matchingParenthesis(line.substr(at));
        if (close == std::string_view::npos) {
            return false;
        }
        next = at + close + 1;
        if (next >= line.size() || line[next] != separator) {
            return false;
        }
    } else {
        next = line.find(separator, at);
        if (next == std::string_view::npos || next == at) {
            return false;
        }
    }
    fields.name = line.substr(at, next - at);
    at = next + 1;
    next = line.find(separator, at);
    if (next == std::string_view::npos) {
        fields.port = line.substr(at);
        fields.data = {};
    } else {
        fields.port = line.substr(at, next - at);
        fields.data = line.substr(next + 1);
    }
    return true;
}

int openBrackets(std::string_view text, int depth) {
    for (char c : text) {
        if (c == '{' || c == '[' || c == '(' || c == '<') {
            ++depth;
        } else if ((c == '}' || c == ']' || c == ')' || c == '>') && depth > 0) {
            --depth;
        }
    }
    return depth;
}

bool cellCoordinates(std::string_view name, int coordinates[3], int& dimensions) {
    if (name.size() < 2 || name.front() != '(' || name.back() != ')') {
        return false;
    }
    name = name.substr(1, name.size() - 2);
    dimensions = 0;
    for (;;) {
        const size_t comma = name.find(',');
        std::string_view piece = name.substr(0, comma);
        while (!piece.empty() && isBlank(piece.front())) {
            piece.remove_prefix(1);
        }
        while (!piece.empty() && isBlank(piece.back())) {
            piece.remove_suffix(1);
        }
        bool negative = false;
        if (!piece.empty() && (piece.front() == '-' || piece.front() == '+')) {
            negative = piece.front() == '-';
            piece.remove_prefix(1);
        }
        if (piece.empty() || piece.size() > 9) {
            return false;
        }
        int value = 0;
        for (char c : piece) {
            if (c < '0' || c > '9') {
                return false;
            }
            value = value * 10 + (c - '0');
        }
        if (dimensions < 3) {
            coordinates[dimensions] = negative ? -value : value;
        }
        ++dimensions;
        if (comma == std::string_view::npos) {
            return true;
        }
        name.remove_prefix(comma + 1);
    }
}

}  // namespace SLCsvRow
