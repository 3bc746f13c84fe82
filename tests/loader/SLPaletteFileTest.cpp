// Palette files in both forms: the colours and ranges they hold, in file order, and the report of every
// line that cannot be read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loader/SLPaletteFile.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

struct Expected {
    double low;
    double high;
    int r, g, b;  // 0 .. 255
};

void expectEntries(const std::vector<Expected>& expected, const std::vector<SLPaletteFile::Entry>& entries) {
    ASSERT_EQ(expected.size(), entries.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].low, entries[i].low) << i;
        EXPECT_EQ(expected[i].high, entries[i].high) << i;
        EXPECT_FLOAT_EQ(expected[i].r / 255.0f, entries[i].colour[0]) << i;
        EXPECT_FLOAT_EQ(expected[i].g / 255.0f, entries[i].colour[1]) << i;
        EXPECT_FLOAT_EQ(expected[i].b / 255.0f, entries[i].colour[2]) << i;
        EXPECT_EQ(1.0f, entries[i].colour[3]) << i;
    }
}

TEST(SLPaletteFileTest, ReadsBothFormsInFileOrder) {
    TempDir dir;
    LogRecorder log;
    SLPaletteFile ranges(
        dir.write("ranges.pal", "[-0.1;0.9] 255 255 51\r\n\n  [1;1]\t0 0 0\n[2;5] 10,20,30\n"));
    ASSERT_TRUE(ranges.load());
    expectEntries({{-0.1, 0.9, 255, 255, 51}, {1, 1, 0, 0, 0}, {2, 5, 10, 20, 30}}, ranges.getEntries());

    SLPaletteFile saved(dir.write("saved.pal", "VALIDSAVEDFILE\n255,0,0\n0, 128, 255\n0,1\n1.5,3\n"));
    ASSERT_TRUE(saved.load());
    expectEntries({{0, 1, 255, 0, 0}, {1.5, 3, 0, 128, 255}}, saved.getEntries());
    EXPECT_TRUE(log.lines().empty()) << log.text();

    SLPaletteFile missing(dir.file("missing.pal"));
    EXPECT_FALSE(missing.load());
    EXPECT_EQ("Unable to open palette file for import", missing.getFailure());
}

TEST(SLPaletteFileTest, BadLinesAreReportedWithTheirNumbersAndSkipped) {
    struct Case {
        std::string text;
        std::vector<std::string> errors;  // "line: reason"
        std::vector<Expected> entries;
    };
    const std::vector<Case> cases = {
        {"[0;1] 255 0 0\n0;1 255 0 0\n", {"2: a colour is written [low;high] r g b"}, {{0, 1, 255, 0, 0}}},
        {"[0;1] 255 0\n[1;2] 1 2 3\n", {"1: a colour is written [low;high] r g b"}, {{1, 2, 1, 2, 3}}},
        {"[0;x] 1 2 3\n", {"1: 'x' is not a number"}, {}},
        {"[3;1] 1 2 3\n", {"1: the range's low end 3 is above its high end 1"}, {}},
        {"[0;1] 1 256 3\n", {"1: colour components run from 0 to 255, not 256"}, {}},
        // The saved form: a bad colour keeps its place, so the next colour still meets its own range.
        {"VALIDSAVEDFILE\n1,2,300\n4,5,6\n0,1\n1,2\n",
         {"2: colour components run from 0 to 255, not 300"},
         {{1, 2, 4, 5, 6}}},
        {"VALIDSAVEDFILE\n1,2,3\n0,1\n4,5,6\n",
         {"4: a saved palette holds low,high lines after its colours"},
         {{0, 1, 1, 2, 3}}},
        {"VALIDSAVEDFILE\n1,2,3\n4,5,6\n0,1\n",
         {"3: a colour without a range: the file has 1 ranges"},
         {{0, 1, 1, 2, 3}}},
        {"VALIDSAVEDFILE\n1,2,3\n0,1\n1,2\n",
         {"4: a range without a colour: the file has 1 colours"},
         {{0, 1, 1, 2, 3}}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        LogRecorder log;
        const std::string path = dir.write("bad.pal", c.text);
        SLPaletteFile palette(path);
        ASSERT_TRUE(palette.load());
        std::vector<std::string> expected;
        for (const std::string& error : c.errors) {
            expected.push_back("Palette file " + path + ", line " + error);
        }
        EXPECT_EQ(expected, palette.getErrors());
        EXPECT_EQ(expected, log.lines());
        expectEntries(c.entries, palette.getEntries());
    }
}

}  // namespace
