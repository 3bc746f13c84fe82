// What a model file adds to a cell space: the values its cells hold before they first report, followed
// by the time cursor in every way it moves, and the declared size with its one report of a cell outside.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "simdata/ModelOffer.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDTimeCursor.h"
#include "tests/support/LogRecorder.h"

namespace {

class InitialValuesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto* model = new SDCELLDevsModel;
        model->setName("rock");
        model->ensureCell(2, 0, 0);
        ASSERT_TRUE(offerModel(models, model));
        rock = model;
    }
    void output(double time, int x, double value) {
        SDEvent event;
        event.m_time = SDTime(time);
        event.m_type = 1;
        event.m_source = "rock(" + std::to_string(x) + ",0,0)";
        event.m_port = "out";
        event.m_value = value;
        event.m_destination = "rock";
        events.addEventCopy(event);
    }
    // "-" without a value, "value@time" for an output, "value@initial".
    std::string cell(size_t index) {
        cursor.sync();
        const SDCellValues& values = rock->getValues();
        if (!values.hasValue(index)) {
            return "-";
        }
        char text[64];
        if (values.isInitial(index)) {
            std::snprintf(text, sizeof text, "%g@initial", values.value(index));
        } else {
            std::snprintf(text, sizeof text, "%g@%g", values.value(index),
                          cursor.timeAt(values.timeIndex(index)));
        }
        return text;
    }
    std::vector<std::string> cells() { return {cell(0), cell(1), cell(2)}; }
    void giveInitialValues() {
        auto initial = std::make_unique<SDInitialValues>();
        initial->setCommon(0);
        initial->sizeCells(3, 1, 1);
        initial->setCell(2, 0, 0, 9);
        rock->setInitialValues(std::move(initial));
    }

    SDDevsModelList models;
    SDEventList events;
    SDTimeCursor cursor{events, models};
    SDCELLDevsModel* rock = nullptr;
};

TEST_F(InitialValuesTest, ACellHoldsItsInitialValueUntilItsFirstOutputWhicheverWayTheTimeMoves) {
    output(10, 1, 5);
    output(20, 1, 6);
    output(20, 2, -1);
    EXPECT_EQ((std::vector<std::string>{"-", "-", "-"}), cells()) << "no model file: no values";
    giveInitialValues();
    EXPECT_EQ((std::vector<std::string>{"0@initial", "0@initial", "9@initial"}), cells())
        << "new initial values reach a cursor that was already built";
    ASSERT_TRUE(cursor.next());
    EXPECT_EQ((std::vector<std::string>{"0@initial", "5@10", "9@initial"}), cells());
    ASSERT_TRUE(cursor.last());
    EXPECT_EQ((std::vector<std::string>{"0@initial", "6@20", "-1@20"}), cells());
    ASSERT_TRUE(cursor.previous());
    ASSERT_TRUE(cursor.previous());
    EXPECT_EQ((std::vector<std::string>{"0@initial", "0@initial", "9@initial"}), cells())
        << "undone step by step";
    double low = 0;
    double high = 0;
    ASSERT_TRUE(rock->getValues().range(low, high));
    EXPECT_EQ(-1.0, low);
    EXPECT_EQ(9.0, high) << "the range holds the initial values";
}

TEST_F(InitialValuesTest, AJumpThroughTheCheckpointsKeepsTheInitialValues) {
    giveInitialValues();
    // Enough updates of one cell for the cursor to keep checkpoints and jump through them.
    for (int t = 1; t <= 5000; ++t) {
        output(t, 0, t % 7);
    }
    ASSERT_TRUE(cursor.goTo(4321));
    EXPECT_EQ((std::vector<std::string>{"2@4321", "0@initial", "9@initial"}), cells());
    ASSERT_TRUE(cursor.goTo(1234));
    EXPECT_EQ((std::vector<std::string>{"2@1234", "0@initial", "9@initial"}), cells());
    ASSERT_TRUE(cursor.first());
    EXPECT_EQ((std::vector<std::string>{"0@initial", "0@initial", "9@initial"}), cells());
}

TEST_F(InitialValuesTest, FewWholeValuesAreListedForADiscreteLegend) {
    struct Case {
        std::vector<double> values;
        std::vector<double> listed;  // empty: not discrete
    };
    std::vector<double> seventeen;
    for (int i = 0; i < 17; ++i) {
        seventeen.push_back(i * 2);
    }
    const std::vector<Case> cases = {
        {{3, 1, 1, 2, -4}, {-4, 1, 2, 3}},
        {{1, 0.5}, {}},
        {seventeen, {}},
        {{seventeen.begin(), seventeen.end() - 1}, {seventeen.begin(), seventeen.end() - 1}},
    };
    for (const Case& c : cases) {
        SDCellValues values;
        for (double value : c.values) {
            values.widenRange(value);
        }
        std::vector<double> listed;
        EXPECT_EQ(!c.listed.empty(), values.distinctValues(listed)) << c.values.size();
        EXPECT_EQ(c.listed, c.listed.empty() ? std::vector<double>{} : listed);
    }
}

TEST(DeclaredSizeTest, TheFirstCellOutsideIsReportedOnceWhicheverComesFirst) {
    LogRecorder log;
    SDCELLDevsModel rock;
    rock.setName("rock");
    ASSERT_TRUE(rock.declareSize(8, 8, 8, 3));
    EXPECT_EQ(8u, rock.getWidth());
    EXPECT_EQ(8u, rock.getLength());
    rock.ensureCell(7, 7, 7);
    EXPECT_TRUE(log.lines().empty());
    // A merged record from the log, as the loader makes one per cell.
    SDCELLDevsModel offered;
    offered.reuseAsCell("rock");
    offered.acceptCell(9, 1, 2);
    rock.growTo(&offered);
    rock.ensureCell(0, 12, 0);
    EXPECT_EQ((std::vector<std::string>{"rock(9,1,2) lies outside the model file's 8x8x8"}), log.lines());
    EXPECT_EQ(10u, rock.getWidth()) << "the space still grows";
    EXPECT_EQ(13u, rock.getHeight());

    // The model file after the log: the cell that set the count that is too large.
    log.clear();
    SDCELLDevsModel plane;
    plane.setName("plane");
    plane.acceptCell(3, 25, 0);
    plane.acceptCell(24, 2, 0);
    ASSERT_TRUE(plane.declareSize(25, 25, 1, 2));
    ASSERT_TRUE(plane.declareSize(25, 25, 1, 2));
    EXPECT_EQ((std::vector<std::string>{"plane(3,25) lies outside the model file's 25x25"}), log.lines());
    EXPECT_EQ(26u, plane.getHeight()) << "nothing shrinks";
}

// Counts are weighed one by one against the cell limit (16,777,216), so no wrapped product sizes the table.
TEST(InitialValuesSizeTest, CountsBeyondTheCellLimitMakeNoTable) {
    struct Case {
        unsigned width, height, length;
        bool accepted;
        unsigned x, y, z;  // a cell inside the counts
    };
    const std::vector<Case> cases = {
        {2, 3, 4, true, 1, 2, 3},
        {16777217, 1, 1, false, 16777216, 0, 0},          // one cell over
        {536870912, 536870912, 64, false, 0, 0, 0},       // 2^64: wraps to 0
        {999999827, 970881435, 19, false, 0, 166924, 0},  // wraps to 3,171,539
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "x" +
                     std::to_string(c.length));
        SDInitialValues values;
        ASSERT_TRUE(values.sizeCells(1, 1, 1));
        ASSERT_TRUE(values.setCell(0, 0, 0, 7));  // must not survive a refusal
        EXPECT_EQ(c.accepted, values.sizeCells(c.width, c.height, c.length));
        EXPECT_EQ(c.accepted, values.setCell(c.x, c.y, c.z, 42));
        EXPECT_EQ(c.accepted ? 2u : 0u, values.cellsGiven());
    }
}

}  // namespace
