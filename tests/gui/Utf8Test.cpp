// Text read as the characters it draws: well-formed sequences whole, every ill-formed part one replacement,
// never a byte read past the text. Expected characters decoded by hand from the bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/VDUtf8.h"

namespace {

constexpr char32_t R = VDUtf8::kReplacement;

// The bytes in a buffer of exactly their size, so that the sanitizer sees any read past the end.
std::vector<char32_t> decode(const std::string& bytes) {
    const std::unique_ptr<char[]> exact(new char[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    const std::string_view text(exact.get(), bytes.size());
    std::vector<char32_t> out;
    for (size_t pos = 0; pos < text.size();) {
        const size_t before = pos;
        out.push_back(VDUtf8::next(text, pos));
        EXPECT_GT(pos, before) << "every character takes at least one byte";
        EXPECT_LE(pos, text.size());
    }
    EXPECT_EQ(out.size(), VDUtf8::length(text));
    return out;
}

TEST(Utf8Test, EachWellFormedSequenceIsOneCharacterAndEachIllFormedPartOneReplacement) {
    const struct {
        const char* what;
        std::string bytes;
        std::vector<char32_t> expected;
    } cases[] = {
        {"ASCII", "a<=1", {'a', '<', '=', '1'}},
        {"less or equal, greater or equal", "\xE2\x89\xA4 \xE2\x89\xA5", {0x2264, ' ', 0x2265}},
        {"two, three and four bytes", "\xC3\x97\xE2\x88\x92\xF0\x9F\x98\x80", {0xD7, 0x2212, 0x1F600}},
        {"a NUL inside", std::string("a\0b", 3), {'a', 0, 'b'}},
        {"a three-byte sequence cut at the end", "\xE2\x89", {R}},
        {"cut, then ASCII",
         "\xE2\x89"
         "a",
         {R, 'a'}},
        {"a four-byte sequence cut", "x\xF0\x9F\x98", {'x', R}},
        {"a lead byte alone at the end", "\xC2", {R}},
        {"a stray continuation byte", "\x80", {R}},
        {"bytes that never start a sequence", "\xFF\xFE\xC0\xC1\xF5", {R, R, R, R, R}},
        {"an overlong slash", "\xC0\xAF", {R, R}},
        {"an overlong three-byte form", "\xE0\x80\xAF", {R, R, R}},
        {"a surrogate", "\xED\xA0\x80", {R, R, R}},
        {"past U+10FFFF", "\xF4\x90\x80\x80", {R, R, R, R}},
        {"a lead byte cut by another lead", "\xE2\xE2\x89\xA5", {R, 0x2265}},
        {"the largest and the first of four bytes", "\xF4\x8F\xBF\xBF\xF0\x90\x80\x80", {0x10FFFF, 0x10000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, decode(c.bytes));
    }
}

TEST(Utf8Test, HeadAndTailKeepWholeCharacters) {
    const std::string text = "\xE2\x89\xA4 20\xC2\xB0";  // "≤ 20°": five characters in eight bytes
    const struct {
        size_t count;
        const char* head;
        const char* tail;
    } cases[] = {
        {0, "", ""},
        {1, "\xE2\x89\xA4", "\xC2\xB0"},
        {2, "\xE2\x89\xA4 ", "0\xC2\xB0"},
        {4, "\xE2\x89\xA4 20", " 20\xC2\xB0"},
        {5, "\xE2\x89\xA4 20\xC2\xB0", "\xE2\x89\xA4 20\xC2\xB0"},
        {9, "\xE2\x89\xA4 20\xC2\xB0", "\xE2\x89\xA4 20\xC2\xB0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        EXPECT_EQ(c.head, VDUtf8::head(text, c.count));
        EXPECT_EQ(c.tail, VDUtf8::tail(text, c.count));
    }
    EXPECT_EQ("\xE2\x89", VDUtf8::head("\xE2\x89", 1)) << "an ill-formed part is one character, kept whole";
}

}  // namespace
