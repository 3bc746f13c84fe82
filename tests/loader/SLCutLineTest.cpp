// What a line's text says, worked out on the reader's thread before anything is stored.
#include "loader/SLCutLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every expected value read off the line by hand.
TEST(SLCutLineTest, AMessageBetweenModelsGivesItsTimeValueAndEnds) {
    struct Case {
        const char* line;
        double ms;
        double value;
        bool numbersWhole;
        const char* source;
        const char* cellModel;  // empty: the source is a plain model
        long long cell[3];
        const char* destination;
    };
    const Case cases[] = {
        {"msg Y / 00:01:02:500 / life(3,4)(12) / out / 1.5 to life(02)",
         62500,
         1.5,
         true,
         "life(3,4)",
         "life",
         {3, 4, 0},
         "life"},
        {"msg X / 00:00:00:100 / top(01) / in / -2 to heat(1,2,3)(7)",
         100,
         -2,
         true,
         "top",
         "",
         {},
         "heat(1,2,3)"},
        {"msg X / 00:00:00:100 / a(1) / p / 1.5abc to b(2)", 100, 1.5, false, "a", "", {}, "b"},
        {"msg Y / 0:0:0:1.5 / a(1) / p / 3 to b(2)", 1, 3, false, "a", "", {}, "b"},
        // Coordinates as "%d" reads each piece: leading zeros, signs, ten digits, text after.
        {"msg Y / 00:00:00:001 / h(007,+3,\t4)(9) / out / 1 to h(02)",
         1,
         1,
         true,
         "h(007,+3,\t4)",
         "h",
         {7, 3, 4},
         "h"},
        {"msg Y / 00:00:00:001 / h(-2,1234567890,12a)(9) / out / 1 to h(02)",
         1,
         1,
         true,
         "h(-2,1234567890,12a)",
         "h",
         {-2, 1234567890, 12},
         "h"},
    };
    std::string scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SLCutLine cut;
        cut.cut(c.line, scratch);
        EXPECT_EQ(8, cut.count);
        EXPECT_TRUE(cut.isEvent);
        EXPECT_DOUBLE_EQ(c.ms, cut.time.getMilliseconds());
        EXPECT_DOUBLE_EQ(c.value, cut.value);
        EXPECT_EQ(c.numbersWhole, cut.numbersWhole);
        EXPECT_EQ(c.source, cut.ends[0].reference);
        EXPECT_EQ(std::string(c.cellModel).size() > 0, cut.ends[0].cell);
        if (cut.ends[0].cell) {
            EXPECT_EQ(c.cellModel, cut.ends[0].model);
            for (int axis = 0; axis < 3; ++axis) {
                EXPECT_EQ(c.cell[axis], cut.ends[0].coordinates[axis]);
            }
        }
        EXPECT_EQ(c.destination, cut.ends[1].reference);
    }
}

// I, D and * lines name their ends too (the third field and the last), and so the cells a log names
// where no event does.
TEST(SLCutLineTest, OtherLinesSayWhetherTheyAreMessagesWithAWholeTimeAndWhatTheyName) {
    struct Case {
        const char* line;
        int count;
        bool timed;
        bool wholeTime;
        const char* source;  // null: the ends are not cut
        long long cell[3];   // of the source, when it is a cell
        const char* destination;
    };
    const Case cases[] = {
        {"msg D / 00:00:00:100 / life(1,74)(177) / ... to life(02)",
         7,
         true,
         true,
         "life(1,74)",
         {1, 74, 0},
         "life"},
        {"msg * / 00:00:0x:100 / life(02) to top(01)", 6, true, false, "life", {}, "top"},
        {"msg I / 00:00:00:000 / heat(02) to heat(3,4,5)(345)", 6, true, true, "heat", {}, "heat(3,4,5)"},
        {"msg D / 00:00:00:100 / a(1) / 00:00:00:200 / x to b(2)", 8, true, true, "a", {}, "b"},
        {"msg Q / 00:00:00:100 / a(1) / p / 1 to b(2)", 8, false, false, nullptr, {}, nullptr},
        {"msg D / 00:00:00:100 / a(1) b(2)", 5, true, true, nullptr, {}, nullptr},
        {"a b c d e f g h i", 9, false, false, nullptr, {}, nullptr},
    };
    std::string scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SLCutLine cut;
        cut.cut(c.line, scratch);
        EXPECT_EQ(c.count, cut.count);
        EXPECT_FALSE(cut.isEvent);
        EXPECT_EQ(c.timed, cut.timed);
        EXPECT_EQ(c.wholeTime, cut.wholeTime);
        ASSERT_EQ(c.source != nullptr, cut.endsCut);
        if (c.source == nullptr) {
            continue;
        }
        EXPECT_EQ(c.source, cut.ends[0].reference);
        EXPECT_EQ(c.destination, cut.ends[1].reference);
        EXPECT_EQ(std::string(c.source).find('(') != std::string::npos, cut.ends[0].cell);
        for (int axis = 0; axis < 3 && cut.ends[0].cell; ++axis) {
            EXPECT_EQ(c.cell[axis], cut.ends[0].coordinates[axis]);
        }
    }
}

// Lines cut one after another share what their times say; runs of one time and changes between them, a
// time that is not whole numbers among them.
TEST(SLCutLineTest, LinesCutInTurnReadEachOfTheirTimesAsALineCutAloneDoes) {
    struct Case {
        const char* line;
        double ms;   // an event's time
        bool whole;  // the time, and for an event its value, are whole numbers
    };
    const Case cases[] = {
        {"msg Y / 00:00:01:000 / a(1) / out / 1 to b(2)", 1000, true},
        {"msg D / 00:00:01:000 / a(1) / ... to b(2)", 0, true},
        {"msg Y / 00:00:01:000 / a(1) / out / 2 to b(2)", 1000, true},
        {"msg Y / 00:00:02:5x0 / a(1) / out / 3 to b(2)", 2005, false},
        {"msg * / 00:00:02:5x0 / a(1) to b(2)", 0, false},
        {"msg Y / 00:00:02:5x0 / a(1) / out / 4 to b(2)", 2005, false},
        {"msg * / 00:00:03:000 / a(1) to b(2)", 0, true},
        {"msg Y / 00:00:03:000 / a(1) / out / 5 to b(2)", 3000, true},
        {"msg Y / 00:01:00:000 / a(1) / out / 6 to b(2)", 60000, true},
    };
    std::string scratch;
    SLCutLine::Times times;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SLCutLine cut;
        cut.cut(c.line, scratch, times);
        if (cut.isEvent) {
            EXPECT_DOUBLE_EQ(c.ms, cut.time.getMilliseconds());
            EXPECT_EQ(c.whole, cut.numbersWhole);
        } else {
            EXPECT_TRUE(cut.timed);
            EXPECT_EQ(c.whole, cut.wholeTime);
        }
    }
}

}  // namespace
