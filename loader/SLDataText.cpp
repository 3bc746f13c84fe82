#include "loader/SLDataText.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <string>
#include <system_error>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// ASCII only, as the C locale reads it, without a call per character.
bool isNameChar(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '.';
}

// The value of a number that numberAt measured; a value too large or too small for a double reads as
// strtod reads it (infinite, or 0 and the denormals).
double valueOf(std::string_view digits) {
    const char* first = digits.data();
    if (*first == '+') {
        ++first;  // from_chars takes no plus sign
    }
    double value = 0.0;
    const auto result = std::from_chars(first, digits.data() + digits.size(), value);
    if (result.ec == std::errc()) {
        return value;
    }
    const std::string copy(digits);
    return std::strtod(copy.c_str(), nullptr);
}

// The length of the number that begins at `at`, 0 when none does.
size_t numberAt(std::string_view text, size_t at) {
    size_t i = at;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    const size_t mantissa = i;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    size_t digits = i - mantissa;
    if (i < text.size() && text[i] == '.') {
        ++i;
        const size_t fraction = i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
        }
        digits += i - fraction;
    }
    if (digits == 0) {
        return 0;
    }
    // An exponent counts only when digits follow it: "2e" is a 2 and a word.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t e = i + 1;
        if (e < text.size() && (text[e] == '-' || text[e] == '+')) {
            ++e;
        }
        if (e < text.size() && isDigit(text[e])) {
            while (e < text.size() && isDigit(text[e])) {
                ++e;
            }
            i = e;
        }
    }
    return i - at;
}

}  // namespace

namespace SLDataText {

bool number(std::string_view text, int index, double& value) {
    int found = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        const bool sign = c == '-' || c == '+';
        // Most characters begin nothing: the word before is looked at only for those that may.
        if (!(isDigit(c) || sign || c == '.') || (!sign && i > 0 && isNameChar(text[i - 1]))) {
            ++i;
            continue;
        }
        const size_t length = numberAt(text, i);
        if (length == 0) {
            ++i;
            continue;
        }
        if (found == index) {
            value = valueOf(text.substr(i, length));
            return true;
        }
        ++found;
        i += length;
    }
    return false;
}

bool stripColours(std::string& text) {
    const size_t first = text.find('\x1b');
    if (first == std::string::npos) {
        return false;
    }
    size_t out = first;
    for (size_t i = first; i < text.size();) {
        if (text[i] == '\x1b' && i + 1 < text.size() && text[i + 1] == '[') {
            size_t j = i + 2;
            while (j < text.size() && !std::isalpha(static_cast<unsigned char>(text[j]))) {
                ++j;
            }
            i = j < text.size() ? j + 1 : j;
            continue;
        }
        text[out++] = text[i++];
    }
    text.resize(out);
    return true;
}

}  // namespace SLDataText
