#include "loader/SLLogFields.h"

namespace {
bool isSeparator(char c) {
    return c == ' ' || c == '/';
}
}  // namespace

int cutLogFields(const char* line, std::string_view* fields, int capacity) {
    int count = 0;
    const char* p = line;
    for (;;) {
        while (isSeparator(*p)) {
            ++p;
        }
        if (*p == '\0') {
            return count;
        }
        const char* start = p;
        while (*p != '\0' && !isSeparator(*p)) {
            ++p;
        }
        if (count == capacity) {
            return count + 1;
        }
        fields[count++] = std::string_view(start, static_cast<size_t>(p - start));
    }
}
