// Cutting log lines into fields.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loader/SLLogFields.h"

namespace {

std::vector<std::string> cut(const char* line, int capacity = 8) {
    std::vector<std::string_view> fields(static_cast<size_t>(capacity));
    int count = cutLogFields(line, fields.data(), capacity);
    std::vector<std::string> out;
    for (int i = 0; i < count && i < capacity; ++i) {
        out.emplace_back(fields[static_cast<size_t>(i)]);
    }
    if (count > capacity) {
        out.emplace_back("<more>");
    }
    return out;
}

using Fields = std::vector<std::string>;

TEST(SLLogFieldsTest, SlashesAndSpacesSeparateAndRunsCountAsOne) {
    EXPECT_EQ((Fields{"w", "Y", "00:00:01:250", "cell(2,3)(12)", "out", "1.5", "w", "cell(2,4)(13)"}),
              cut("w Y / 00:00:01:250 / cell(2,3)(12) / out / 1.5 / w / cell(2,4)(13)"));
    EXPECT_EQ((Fields{"a", "b", "c"}), cut("  //a/ /b  ///  c/ "));
    EXPECT_EQ((Fields{"a", "b"}), cut("a/b"));
}

TEST(SLLogFieldsTest, TabsAndOtherBytesStayInsideFields) {
    EXPECT_EQ((Fields{"a\tb", "\t", "c\r"}), cut("a\tb / \t /c\r"));
}

TEST(SLLogFieldsTest, EmptyAndSeparatorOnlyLinesHaveNoFields) {
    EXPECT_TRUE(cut("").empty());
    EXPECT_TRUE(cut(" / // ").empty());
}

TEST(SLLogFieldsTest, StopsOneFieldPastTheCapacity) {
    EXPECT_EQ((Fields{"1", "2", "<more>"}), cut("1 2 3 4", 2));
    EXPECT_EQ((Fields{"1", "2"}), cut("1 2", 2));
}

}  // namespace
