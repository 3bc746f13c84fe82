// What a line's text says, worked out on the reader's thread before anything is stored.
#include "loader/SLCutLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// One row per kind of line; every expected value read off the line by hand.
TEST(SLCutLineTest, FieldsNumbersAndEndsOfEachKindOfLine) {
    struct Case {
        const char* line;
        int count;
        bool isEvent;
        double ms;     // events only
        double value;  // events only
        bool numbersWhole;
        const char* source;  // the ends, events only: reference, then model and coordinates for a cell
        const char* sourceModel;
        long long sourceCell[3];
        const char* destination;
        bool timed;  // other lines only
        bool wholeTime;
    };
    const Case cases[] = {
        {"msg Y / 00:01:02:500 / life(3,4)(12) / out / 1.5 to life(02)",
         8,
         true,
         62500,
         1.5,
         true,
         "life(3,4)",
         "life",
         {3, 4, 0},
         "life",
         false,
         false},
        {"msg X / 00:00:00:100 / top(01) / in / -2 to heat(1,2,3)(7)",
         8,
         true,
         100,
         -2,
         true,
         "top",
         "",
         {0, 0, 0},
         "heat(1,2,3)",
         false,
         false},
        {"msg X / 00:00:00:100 / a(1) / p / 1.5abc to b(2)",
         8,
         true,
         100,
         1.5,
         false,
         "a",
         "",
         {0, 0, 0},
         "b",
         false,
         false},
        {"msg Y / 0:0:0:1.5 / a(1) / p / 3 to b(2)",
         8,
         true,
         1,
         3,
         false,
         "a",
         "",
         {0, 0, 0},
         "b",
         false,
         false},
        {"msg D / 00:00:00:100 / life(1,74)(177) / ... to life(02)",
         7,
         false,
         0,
         0,
         false,
         "",
         "",
         {0, 0, 0},
         "",
         true,
         true},
        {"msg * / 00:00:0x:100 / life(02) to top(01)",
         6,
         false,
         0,
         0,
         false,
         "",
         "",
         {0, 0, 0},
         "",
         true,
         false},
        {"msg Q / 00:00:00:100 / a(1) / p / 1 to b(2)",
         8,
         false,
         0,
         0,
         false,
         "",
         "",
         {0, 0, 0},
         "",
         false,
         false},
        {"a b c d e f g h i", 9, false, 0, 0, false, "", "", {0, 0, 0}, "", false, false},
    };
    std::string scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SLCutLine cut;
        cut.cut(c.line, scratch);
        EXPECT_EQ(c.count, cut.count);
        EXPECT_EQ(c.isEvent, cut.isEvent);
        if (c.isEvent) {
            EXPECT_DOUBLE_EQ(c.ms, cut.time.getMilliseconds());
            EXPECT_DOUBLE_EQ(c.value, cut.value);
            EXPECT_EQ(c.numbersWhole, cut.numbersWhole);
            EXPECT_EQ(c.source, cut.ends[0].reference);
            EXPECT_EQ(std::string(c.sourceModel).size() > 0, cut.ends[0].cell);
            if (cut.ends[0].cell) {
                EXPECT_EQ(c.sourceModel, cut.ends[0].model);
                for (int axis = 0; axis < 3; ++axis) {
                    EXPECT_EQ(c.sourceCell[axis], cut.ends[0].coordinates[axis]);
                }
            }
            EXPECT_EQ(c.destination, cut.ends[1].reference);
        } else {
            EXPECT_EQ(c.timed, cut.timed);
            EXPECT_EQ(c.wholeTime, cut.wholeTime);
        }
    }
}

}  // namespace
