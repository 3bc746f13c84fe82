#include "simdata/SDValueHistory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "simdata/ModelOffer.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDTimeCursor.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Point {
    double time;
    double value;
    bool operator==(const Point& other) const {
        return time == other.time && (value == other.value || (std::isnan(value) && std::isnan(other.value)));
    }
};
using Points = std::vector<Point>;

Points points(const SDSeries& series) {
    Points out;
    for (size_t i = 0; i < series.size(); ++i) {
        out.push_back({series.times[i], series.values[i]});
    }
    return out;
}

void PrintTo(const Point& p, std::ostream* os) {
    *os << p.value << "@" << p.time;
}

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
    // A small run whose histories are worked out by hand below.
    void smallRun() {
        message(50, 1, "gen", "out", 6);
        message(100, 1, "grid(0,0)", "out", 1);
        message(100, 1, "grid(0,0)", "out", 2);  // the same time: the later counts
        message(100, 1, "grid(1,1)", "out", 5);
        message(100, 1, "gen", "out", 7);
        message(100, 0, "top", "in", 0.5, "gen");
        message(200, 1, "grid(0,0)", "out", 3);
        message(200, 1, "grid(0,1)", "out", kNaN);  // held, but not a finite value
        message(200, 0, "top", "in", 0.25, "gen");
        message(200, 0, "top", "in", 0.75, "gen");
        message(200, 0, "top", "in", 9, "other");  // another model's input
        message(300, 1, "grid(1,1)", "aux", 9);    // not the cells' port
        message(300, 1, "gen", "out", 8);
        message(400, 1, "gen", "out", 8);
    }

    SDDevsModelList models;
    SDEventList events;
    SDTimeCursor cursor{events, models};
    SDCELLDevsModel* grid = nullptr;
};

TEST_F(ValueHistoryTest, EachValueHasOnePointPerTimeItWasSetTheLastOfThatTime) {
    smallRun();
    struct Case {
        const char* what;
        unsigned x, y;
        Points expected;
    };
    for (const Case& c : {Case{"grid(0,0)", 0, 0, {{100, 2}, {200, 3}}}, Case{"grid(1,1)", 1, 1, {{100, 5}}},
                          Case{"grid(0,1)", 0, 1, {{200, kNaN}}}, Case{"grid(1,0)", 1, 0, {}}}) {
        SDSeries series;
        ASSERT_TRUE(SDValueHistory::cell(cursor, *grid, c.x, c.y, 0, series)) << c.what;
        EXPECT_FALSE(series.spread);
        EXPECT_EQ(c.expected, points(series)) << c.what;
    }
    SDSeries series;
    ASSERT_TRUE(SDValueHistory::output(cursor, "gen", "out", series));
    EXPECT_EQ((Points{{50, 6}, {100, 7}, {300, 8}, {400, 8}}), points(series)) << "a repeated value is kept";
    ASSERT_TRUE(SDValueHistory::input(events, "gen", "in", series));
    EXPECT_EQ((Points{{100, 0.5}, {200, 0.75}}), points(series));

    // Nothing of the kind to read.
    EXPECT_FALSE(SDValueHistory::cell(cursor, *grid, 2, 0, 0, series)) << "outside the space";
    EXPECT_FALSE(SDValueHistory::output(cursor, "gen", "nothing", series));
    EXPECT_FALSE(SDValueHistory::output(cursor, "ghost", "out", series));
    EXPECT_FALSE(SDValueHistory::input(events, "gen", "nothing", series));
    SDCELLDevsModel stranger;
    EXPECT_FALSE(SDValueHistory::cell(cursor, stranger, 0, 0, 0, series)) << "not in the registry";
    EXPECT_FALSE(SDValueHistory::spread(cursor, stranger, series));
}

TEST_F(ValueHistoryTest, ASpreadHasTheFiniteMinimumMeanAndMaximumAtEveryEventTime) {
    smallRun();
    SDSeries series;
    ASSERT_TRUE(SDValueHistory::spread(cursor, *grid, series));
    EXPECT_TRUE(series.spread);
    // By hand: at 100 the cells hold 2 and 5; from 200 on 3 and 5 (and a NaN, left out).
    EXPECT_EQ((std::vector<double>{50, 100, 200, 300, 400}), series.times);
    EXPECT_TRUE(std::isnan(series.values[0]) && std::isnan(series.minimum[0]) &&
                std::isnan(series.maximum[0]))
        << "no cell holds a value yet";
    EXPECT_EQ((std::vector<double>{2, 3, 3, 3}),
              std::vector<double>(series.minimum.begin() + 1, series.minimum.end()));
    EXPECT_EQ((std::vector<double>{3.5, 4, 4, 4}),
              std::vector<double>(series.values.begin() + 1, series.values.end()));
    EXPECT_EQ((std::vector<double>{5, 5, 5, 5}),
              std::vector<double>(series.maximum.begin() + 1, series.maximum.end()));
}

// A run long enough for checkpoints, against what the cursor itself shows as it steps through it.
TEST_F(ValueHistoryTest, HistoriesAgreeWithTheValuesTheCursorShowsAtEachTime) {
    std::mt19937 random(23);
    std::uniform_int_distribution<int> cell(0, 1);
    std::uniform_int_distribution<int> value(-20, 20);
    for (int t = 1; t <= 1500; ++t) {
        for (int n = random() % 4; n > 0; --n) {
            message(t * 10.0, 1,
                    "grid(" + std::to_string(cell(random)) + "," + std::to_string(cell(random)) + ")", "out",
                    value(random) / 4.0);
        }
    }
    SDSeries histories[2][2];
    for (unsigned x = 0; x < 2; ++x) {
        for (unsigned y = 0; y < 2; ++y) {
            ASSERT_TRUE(SDValueHistory::cell(cursor, *grid, x, y, 0, histories[x][y]));
        }
    }
    SDSeries spread;
    ASSERT_TRUE(SDValueHistory::spread(cursor, *grid, spread));
    ASSERT_EQ(cursor.timeCount(), spread.size());
    size_t at[2][2] = {};
    cursor.first();
    for (size_t t = 0; t < cursor.timeCount(); ++t) {
        cursor.goTo(cursor.timeAt(t));
        const SDCellValues& values = grid->getValues();
        double low = 1e9;
        double high = -1e9;
        double sum = 0;
        int held = 0;
        for (unsigned x = 0; x < 2; ++x) {
            for (unsigned y = 0; y < 2; ++y) {
                const size_t index = x * 2 + y;
                const SDSeries& history = histories[x][y];
                // The history's latest point at or before this time is what the cell shows.
                while (at[x][y] < history.size() && history.times[at[x][y]] <= cursor.time()) {
                    ++at[x][y];
                }
                ASSERT_EQ(values.hasValue(index), at[x][y] > 0) << x << "," << y << " at " << cursor.time();
                if (values.hasValue(index)) {
                    ASSERT_EQ(values.value(index), history.values[at[x][y] - 1]);
                    low = std::min(low, values.value(index));
                    high = std::max(high, values.value(index));
                    sum += values.value(index);
                    ++held;
                }
            }
        }
        ASSERT_EQ(cursor.time(), spread.times[t]);
        ASSERT_EQ(low, spread.minimum[t]) << cursor.time();
        ASSERT_EQ(high, spread.maximum[t]) << cursor.time();
        ASSERT_NEAR(sum / held, spread.values[t], 1e-12) << cursor.time();
    }
}

}  // namespace
