#include "simdata/SDValueHistory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "simdata/ModelOffer.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDInitialValues.h"
#include "simdata/SDTimeCursor.h"

namespace {

using Values = std::vector<double>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// NaN equals NaN here: "no value" is a value of the series.
void expectValues(const Values& expected, const Values& actual, const char* what) {
    ASSERT_EQ(expected.size(), actual.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(expected[i] == actual[i] || (std::isnan(expected[i]) && std::isnan(actual[i])))
            << what << " [" << i << "]: " << expected[i] << " vs " << actual[i];
    }
}

void expectSeries(const SDSeries& series, const Values& times, const Values& values, const char* what) {
    expectValues(times, series.times, what);
    expectValues(values, series.values, what);
}

// A 2 x 2 space "grid" and a plain model "gen".
class ValueHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        grid = new SDCELLDevsModel;
        grid->setName("grid");
        grid->ensureCell(1, 1, 0);
        ASSERT_TRUE(offerModel(models, grid));
        auto* gen = new SDDevsModel;
        gen->setName("gen");
        ASSERT_TRUE(offerModel(models, gen));
    }
    void message(double time, int type, const std::string& source, const std::string& port, double value,
                 const std::string& destination = "top") {
        SDEvent event;
        event.m_time = SDTime(time);
        event.m_type = type;
        event.m_source = source;
        event.m_port = port;
        event.m_value = value;
        event.m_destination = destination;
        events.addEventCopy(event);
    }

    SDDevsModelList models;
    SDEventList events;
    SDTimeCursor cursor{events, models};
    SDCELLDevsModel* grid = nullptr;
};

TEST_F(ValueHistoryTest, OnePointPerTimeAValueWasSetTheLastOfThatTime) {
    message(50, 1, "gen", "out", 6);
    message(100, 1, "grid(0,0)", "out", 1);
    message(100, 1, "grid(0,0)", "out", 2);  // the same time: the later counts
    message(100, 1, "grid(1,1)", "out", 5);
    message(100, 0, "top", "in", 0.5, "gen");
    message(200, 1, "grid(0,0)", "out", 3);
    message(200, 1, "grid(0,1)", "out", kNaN);  // held, but not finite: no part of a spread
    message(200, 0, "top", "in", 0.25, "gen");
    message(200, 0, "top", "in", 0.75, "gen");
    message(200, 0, "top", "in", 9, "other");
    message(300, 1, "grid(1,1)", "aux", 9);  // not the cells' port
    message(300, 1, "gen", "out", 8);
    message(400, 1, "gen", "out", 8);  // a repeated value is kept

    SDSeries s;
    ASSERT_TRUE(SDValueHistory::cell(cursor, *grid, 0, 0, 0, s));
    expectSeries(s, {100, 200}, {2, 3}, "grid(0,0)");
    ASSERT_TRUE(SDValueHistory::cell(cursor, *grid, 0, 1, 0, s));
    expectSeries(s, {200}, {kNaN}, "grid(0,1)");
    ASSERT_TRUE(SDValueHistory::cell(cursor, *grid, 1, 0, 0, s));
    expectSeries(s, {}, {}, "grid(1,0)");
    ASSERT_TRUE(SDValueHistory::output(cursor, "gen", "out", s));
    expectSeries(s, {50, 300, 400}, {6, 8, 8}, "gen.out");
    ASSERT_TRUE(SDValueHistory::input(events, "gen", "in", s));
    expectSeries(s, {100, 200}, {0.5, 0.75}, "gen.in");
    // By hand: no cell holds a value at 50; 2 and 5 at 100; 3 and 5 from 200 on.
    ASSERT_TRUE(SDValueHistory::spread(cursor, *grid, s));
    expectSeries(s, {50, 100, 200, 300, 400}, {kNaN, 3.5, 4, 4, 4}, "mean");
    expectValues({kNaN, 2, 3, 3, 3}, s.minimum, "minimum");
    expectValues({kNaN, 5, 5, 5, 5}, s.maximum, "maximum");

    SDSeries none;
    EXPECT_FALSE(SDValueHistory::cell(cursor, *grid, 2, 0, 0, none)) << "outside the space";
    EXPECT_FALSE(SDValueHistory::output(cursor, "gen", "nothing", none));
    EXPECT_FALSE(SDValueHistory::input(events, "ghost", "in", none));
    SDCELLDevsModel stranger;
    EXPECT_FALSE(SDValueHistory::spread(cursor, stranger, none)) << "not in the registry";
}

// A run long enough for checkpoints, against the values the cursor itself shows as it steps through it.
TEST_F(ValueHistoryTest, HistoriesAgreeWithWhatTheCursorShowsAtEachTime) {
    std::mt19937 random(23);
    for (int t = 1; t <= 1500; ++t) {
        for (int n = static_cast<int>(random() % 4); n > 0; --n) {
            const std::string cell =
                "grid(" + std::to_string(random() % 2) + "," + std::to_string(random() % 2) + ")";
            message(t * 10.0, 1, cell, "out", static_cast<double>(random() % 41) / 4.0 - 5.0);
        }
    }
    SDSeries history[4];
    for (unsigned cell = 0; cell < 4; ++cell) {
        ASSERT_TRUE(SDValueHistory::cell(cursor, *grid, cell / 2, cell % 2, 0, history[cell]));
    }
    SDSeries spread;
    ASSERT_TRUE(SDValueHistory::spread(cursor, *grid, spread));
    ASSERT_EQ(cursor.timeCount(), spread.size());
    size_t next[4] = {};
    for (size_t t = 0; t < cursor.timeCount(); ++t) {
        cursor.goTo(cursor.timeAt(t));
        const SDCellValues& values = grid->getValues();
        Values held;
        for (unsigned cell = 0; cell < 4; ++cell) {
            // The history's latest point at or before this time is what the cell shows.
            while (next[cell] < history[cell].size() && history[cell].times[next[cell]] <= cursor.time()) {
                ++next[cell];
            }
            ASSERT_EQ(values.hasValue(cell), next[cell] > 0) << cell << " at " << cursor.time();
            if (values.hasValue(cell)) {
                ASSERT_EQ(values.value(cell), history[cell].values[next[cell] - 1])
                    << cell << " at " << cursor.time();
                held.push_back(values.value(cell));
            }
        }
        double sum = 0;
        for (double v : held) {
            sum += v;
        }
        ASSERT_EQ(*std::min_element(held.begin(), held.end()), spread.minimum[t]) << cursor.time();
        ASSERT_EQ(*std::max_element(held.begin(), held.end()), spread.maximum[t]) << cursor.time();
        ASSERT_NEAR(sum / static_cast<double>(held.size()), spread.values[t], 1e-12) << cursor.time();
    }
}

// A cell's initial value holds from the start until its first message; a message at or before the start
// hides it. Every cell starts at 1; cells in order (0,0), (0,1), (1,0), (1,1).
TEST_F(ValueHistoryTest, AMessageAtOrBeforeTheStartHidesTheInitialValue) {
    auto initial = std::make_unique<SDInitialValues>();
    initial->setCommon(1);
    grid->setInitialValues(std::move(initial));
    message(-50, 1, "grid(0,1)", "out", 5);
    message(0, 1, "grid(1,1)", "out", 3);
    message(100, 1, "grid(0,0)", "out", 2);
    SDSeries s;
    ASSERT_TRUE(SDValueHistory::cell(cursor, *grid, 0, 1, 0, s));
    expectSeries(s, {-50}, {5}, "before the start");
    ASSERT_TRUE(SDValueHistory::cell(cursor, *grid, 1, 1, 0, s));
    expectSeries(s, {0}, {3}, "at the start");
    ASSERT_TRUE(SDValueHistory::cell(cursor, *grid, 0, 0, 0, s));
    expectSeries(s, {0, 100}, {1, 2}, "after the start");
    // 1 5 1 1 at -50, 1 5 1 3 at the start, 2 5 1 3 at 100.
    ASSERT_TRUE(SDValueHistory::spread(cursor, *grid, s));
    expectSeries(s, {-50, 0, 100}, {2, 2.5, 2.75}, "mean");
    expectValues({1, 1, 1}, s.minimum, "minimum");
    expectValues({5, 5, 5}, s.maximum, "maximum");
}

}  // namespace
