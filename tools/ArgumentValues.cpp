#include "tools/ArgumentValues.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

bool readIntArgument(const std::string& text, int& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long read = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || read < INT_MIN || read > INT_MAX) {
        return false;
    }
    value = static_cast<int>(read);
    return true;
}

bool readSeedArgument(const std::string& text, uint64_t& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long read = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    value = read;
    return true;
}

bool readDoubleArgument(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const double read = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    value = read;
    return true;
}
