#include "gui/VDUtf8.h"

char32_t VDUtf8::next(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    // The lead byte fixes the length and the range of the first continuation byte; outside those ranges
    // lie overlong forms, surrogates and values past U+10FFFF.
    size_t more = 0;
    char32_t code = 0;
    unsigned char lowest = 0x80;
    unsigned char highest = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        code = lead & 0x0Fu;
        lowest = lead == 0xE0 ? 0xA0 : 0x80;
        highest = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        code = lead & 0x07u;
        lowest = lead == 0xF0 ? 0x90 : 0x80;
        highest = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return kReplacement;
    }
    for (; more > 0; --more) {
        if (pos >= text.size()) {
            return kReplacement;
        }
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < lowest || byte > highest) {
            return kReplacement;
        }
        code = (code << 6) | (byte & 0x3Fu);
        ++pos;
        lowest = 0x80;
        highest = 0xBF;
    }
    return code;
}

size_t VDUtf8::length(std::string_view text) {
    size_t count = 0;
    for (size_t pos = 0; pos < text.size(); ++count) {
        next(text, pos);
    }
    return count;
}

std::string VDUtf8::head(std::string_view text, size_t count) {
    size_t pos = 0;
    for (size_t taken = 0; taken < count && pos < text.size(); ++taken) {
        next(text, pos);
    }
    return std::string(text.substr(0, pos));
}

std::string VDUtf8::tail(std::string_view text, size_t count) {
    const size_t total = length(text);
    if (count >= total) {
        return std::string(text);
    }
    size_t pos = 0;
    for (size_t skipped = 0; skipped < total - count; ++skipped) {
        next(text, pos);
    }
    return std::string(text.substr(pos));
}
