#include "simdata/SDCellName.h"

#include "shell/TextScan.h"

namespace {

bool isCoordinateDelimiter(char c) {
    return c == '(' || c == ',' || c == ')';
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
        // Scanned from a copy, so that the number cannot run on into the next piece.
        scratch.assign(text.substr(start, at - start));
        int value = 0;
        scanInt(scratch.c_str(), value);
        coordinates[found] = value;
    }
    return true;
}
