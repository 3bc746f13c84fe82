// Messages come out exactly as printf would write them, on the quick path and off it.
#include "shell/LogFormat.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace {

std::string viaLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string viaLog(const char* format, ...) {
    std::string out = "stale text from an earlier message";
    va_list args;
    va_start(args, format);
    EXPECT_TRUE(formatLogText(out, format, args));
    va_end(args);
    return out;
}

std::string viaPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string viaPrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out(static_cast<size_t>(length), '\0');
    std::vsnprintf(out.data(), out.size() + 1, format, again);
    va_end(again);
    return out;
}

#define EXPECT_SAME_AS_PRINTF(...) EXPECT_EQ(viaPrintf(__VA_ARGS__), viaLog(__VA_ARGS__))

TEST(LogFormatTest, CommonDirectivesMatchPrintf) {
    EXPECT_SAME_AS_PRINTF("Adding event");
    EXPECT_SAME_AS_PRINTF("Name: %s", "life");
    EXPECT_SAME_AS_PRINTF("Width: %d, Height: %i", 100, -7);
    EXPECT_SAME_AS_PRINTF("%d %d", INT_MIN, INT_MAX);
    EXPECT_SAME_AS_PRINTF("%u %lu %llu %zu", UINT_MAX, ULONG_MAX, ULLONG_MAX, SIZE_MAX);
    EXPECT_SAME_AS_PRINTF("%ld %lld %zd", LONG_MIN, LLONG_MIN, static_cast<ssize_t>(-5));
    EXPECT_SAME_AS_PRINTF("100%% of %c%c, %s and %s", 'o', 'k', "", "end");
    const char* volatile missing = nullptr;  // hidden from the compiler's own format checks
    EXPECT_SAME_AS_PRINTF("[%s]", missing);
}

TEST(LogFormatTest, EverythingElseGoesThroughPrintfWhole) {
    EXPECT_SAME_AS_PRINTF("Value: %lf;Dest: %s", 1.5, "life(02)");
    EXPECT_SAME_AS_PRINTF("%02d:%02d:%03d then %s", 1, 2, 3, "more");
    EXPECT_SAME_AS_PRINTF("%-6s|%6s|%.2s", "ab", "cd", "efgh");
    EXPECT_SAME_AS_PRINTF("%x %o %p", 255u, 8u, static_cast<void*>(nullptr));
    EXPECT_SAME_AS_PRINTF("%+d % d %hd", 3, 4, static_cast<short>(5));
    const std::string longText(3000, 'L');
    EXPECT_SAME_AS_PRINTF("%s and %.3f", longText.c_str(), 2.0 / 3.0);
}

// Whole numbers as packet_receiver_big_values.log writes them (192168116224.00000) keep their digits up to
// 15; anything else reads as %g always did.
TEST(LogFormatTest, NumbersShownWholeUpTo15Digits) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {192168116224.0, "192168116224"},
        {11223334649856.0, "11223334649856"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1e+15"},
        {-2500000.0, "-2500000"},
        {0.44444, "0.44444"},
        {1234567.5, "1.23457e+06"},
        {4.0, "4"},
        {std::numeric_limits<double>::infinity(), "inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, numberText(c.value)) << c.text;
    }
}

}  // namespace
