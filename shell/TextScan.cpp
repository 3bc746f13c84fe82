#include "shell/TextScan.h"

#include <cctype>
#include <climits>
#include <cstdlib>

bool scanInt(const char* text, int& out, const char** end) {
    if (text == nullptr) {
        return false;
    }
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p))) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (!std::isdigit(static_cast<unsigned char>(*p))) {
        return false;
    }
    long long value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (*p - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        value = INT_MAX;
    } else if (value < INT_MIN) {
        value = INT_MIN;
    }
    out = static_cast<int>(value);
    if (end != nullptr) {
        *end = p;
    }
    return true;
}

bool scanDouble(const char* text, double& out) {
    if (text == nullptr) {
        return false;
    }
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (end == text) {
        return false;
    }
    out = value;
    return true;
}

bool scanFloat(const char* text, float& out) {
    if (text == nullptr) {
        return false;
    }
    char* end = nullptr;
    float value = std::strtof(text, &end);
    if (end == text) {
        return false;
    }
    out = value;
    return true;
}
