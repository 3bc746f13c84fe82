#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text as the characters it draws: UTF-8, one character per well-formed sequence and one replacement per
// ill-formed part (a stray byte, a cut or overlong sequence, a surrogate, a value past U+10FFFF). Drawing,
// measuring and cutting all count the same way, so that a text takes the room it was given.
class VDUtf8 {
  public:
    static constexpr char32_t kReplacement = 0xFFFD;

    // The character that starts at byte `pos` of `text`, moving `pos` past it: at least one byte, never
    // past the end. An ill-formed part gives kReplacement and ends before the first byte that cannot
    // continue it, so that byte starts the next character. `pos` must be below text.size().
    static char32_t next(std::string_view text, size_t& pos);
    // The number of characters.
    static size_t length(std::string_view text);
    // The first `count` characters, each whole; the whole text when it has no more.
    static std::string head(std::string_view text, size_t count);
    // The last `count` characters, each whole; the whole text when it has no more.
    static std::string tail(std::string_view text, size_t count);
};
