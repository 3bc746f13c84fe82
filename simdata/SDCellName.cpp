#include "simdata/SDCellName.h"

#include "shell/TextScan.h"

namespace {

bool isCoordinateDelimiter(char c) {
    return c == '(' || c == ',' || c == ')';
}

// A piece as "%d" reads it. Nearly every piece is a few plain digits, read here directly; any other
// is scanned from a copy, so that the number cannot run on into the next piece.
long long readCoordinate(std::string_view piece, std::string& scratch) {
    if (piece.size() <= 9) {  // at most 999,999,999: no int overflows
        long long value = 0;
        size_t at = 0;
        for (; at < piece.size() && piece[at] >= '0' && piece[at] <= '9'; ++at) {
            value = value * 10 + (piece[at] - '0');
        }
        if (at == piece.size()) {
            return value;  // never empty: a piece runs from one delimiter to the next
        }
    }
    scratch.assign(piece);
    int value = 0;
    scanInt(scratch.c_str(), value);
    return value;
}

}  // namespace

bool splitCellName(std::string_view text, std::string_view& model, long long coordinates[3],
                   std::string& scratch) {
    const size_t open = text.rfind('(');
    if (open == std::string_view::npos) {
        return false;
    }
    model = text.substr(0, open);
    coordinates[0] = coordinates[1] = coordinates[2] = 0;
    size_t at = open;
    for (int found = 0; found < 3; ++found) {
        while (at < text.size() && isCoordinateDelimiter(text[at])) {
            ++at;
        }
        if (at == text.size()) {
            break;
        }
        const size_t start = at;
        while (at < text.size() && !isCoordinateDelimiter(text[at])) {
            ++at;
        }
        coordinates[found] = readCoordinate(text.substr(start, at - start), scratch);
    }
    return true;
}
