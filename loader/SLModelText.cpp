#include "loader/SLModelText.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace sltext {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string lower(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> result;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isBlank(text[at])) {
            ++at;
        }
        const size_t start = at;
        while (at < text.size() && !isBlank(text[at])) {
            ++at;
        }
        if (at > start) {
            result.emplace_back(text.substr(start, at - start));
        }
    }
    return result;
}

bool number(std::string_view text, double& value) {
    text = trim(text);
    // strtod would skip blanks of its own and read hexadecimal, "inf" and "nan": only plain decimals pass.
    if (text.empty() || text.size() > 64) {
        return false;
    }
    for (char c : text) {
        const bool allowed =
            (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
        if (!allowed) {
            return false;
        }
    }
    const std::string copy(text);
    char* end = nullptr;
    const double read = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(read)) {
        return false;
    }
    value = read;
    return true;
}

bool count(std::string_view text, unsigned& value) {
    text = trim(text);
    if (text.empty()) {
        return false;
    }
    // Any count that fits, so that one too large for a cell space is refused as that, not as no number.
    unsigned long long result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        result = result * 10 + static_cast<unsigned>(c - '0');
        if (result > UINT_MAX) {
            return false;
        }
    }
    value = static_cast<unsigned>(result);
    return true;
}

bool coordinates(std::string_view text, std::vector<unsigned>& values, size_t minimum, size_t maximum) {
    text = trim(text);
    if (text.size() < 2 || text.front() != '(' || text.back() != ')') {
        return false;
    }
    text = text.substr(1, text.size() - 2);
    std::vector<unsigned> read;
    for (;;) {
        const size_t comma = text.find(',');
        unsigned value = 0;
        if (!count(text.substr(0, comma), value) || read.size() == maximum) {
            return false;
        }
        read.push_back(value);
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    if (read.size() < minimum) {
        return false;
    }
    values.swap(read);
    return true;
}

std::string coordinatesText(const std::vector<unsigned>& values) {
    std::string text = "(";
    for (size_t i = 0; i < values.size(); ++i) {
        text += (i > 0 ? "," : "") + std::to_string(values[i]);
    }
    return text + ")";
}

std::string besides(const std::string& file, const std::string& named) {
    if (!named.empty() && named.front() == '/') {
        return named;
    }
    const size_t slash = file.rfind('/');
    return slash == std::string::npos ? named : file.substr(0, slash + 1) + named;
}

}  // namespace sltext
