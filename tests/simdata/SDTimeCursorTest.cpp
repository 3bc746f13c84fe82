#include "simdata/SDTimeCursor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "simdata/ModelOffer.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class SDTimeCursorTest : public ::testing::Test {
  protected:
    SDCELLDevsModel* space(const std::string& name, unsigned width, unsigned height, unsigned length) {
        auto* model = new SDCELLDevsModel;
        model->setName(name);
        model->ensureCell(width - 1, height - 1, length - 1);
        EXPECT_TRUE(offerModel(models, model));
        return model;
    }
    void plain(const std::string& name) {
        auto* model = new SDDevsModel;
        model->setName(name);
        EXPECT_TRUE(offerModel(models, model));
    }
    void message(double time, const std::string& source, double value, const std::string& port = "out",
                 int type = 1) {
        SDEvent event;
        event.m_time = SDTime(time);
        event.m_type = type;
        event.m_source = source;
        event.m_port = port;
        event.m_value = value;
        event.m_destination = "top";
        events.addEventCopy(event);
    }
    // "-" for a cell without a value, else "value@time".
    std::string cell(SDCELLDevsModel* model, size_t index) {
        cursor.sync();
        const SDCellValues& values = model->getValues();
        if (!values.hasValue(index)) {
            return "-";
        }
        char text[64];
        std::snprintf(text, sizeof text, "%g@%g", values.value(index),
                      cursor.timeAt(values.timeIndex(index)));
        return text;
    }

    SDDevsModelList models;
    SDEventList events;
    SDTimeCursor cursor{events, models};
};

TEST_F(SDTimeCursorTest, AnEmptyRunHasOnlyTheStart) {
    EXPECT_EQ(0.0, cursor.time());
    EXPECT_FALSE(cursor.next());
    EXPECT_FALSE(cursor.previous());
    EXPECT_FALSE(cursor.first());
    EXPECT_FALSE(cursor.last());
    EXPECT_FALSE(cursor.goTo(5000));
    EXPECT_FALSE(cursor.goTo(-5000));
    EXPECT_EQ(0.0, cursor.time());
    EXPECT_EQ(0u, cursor.timeCount());
    EXPECT_EQ(-1, cursor.currentTimeIndex());
    EXPECT_FALSE(cursor.canPlay());
}

TEST_F(SDTimeCursorTest, StepsVisitTheStartAndEveryEventTimeAndStopAtTheEnds) {
    message(1000, "a", 1);
    message(1000, "b", 2);
    message(2500, "a", 3);
    EXPECT_TRUE(cursor.canPlay());
    EXPECT_EQ(2u, cursor.timeCount());
    EXPECT_EQ(2500.0, cursor.timeAt(1));
    std::vector<double> visited{cursor.time()};
    while (cursor.next()) {
        visited.push_back(cursor.time());
    }
    EXPECT_EQ((std::vector<double>{0, 1000, 2500}), visited);
    EXPECT_FALSE(cursor.canPlay());
    EXPECT_EQ(1, cursor.currentTimeIndex());
    EXPECT_FALSE(cursor.next());
    EXPECT_EQ(2500.0, cursor.time());
    EXPECT_TRUE(cursor.previous());
    EXPECT_TRUE(cursor.previous());
    EXPECT_EQ(0.0, cursor.time());
    EXPECT_EQ(-1, cursor.currentTimeIndex());
    EXPECT_FALSE(cursor.previous());
}

TEST_F(SDTimeCursorTest, GotoTakesTheLatestTimeAtOrBeforeAndClampsToTheEnds) {
    message(1000, "a", 1);
    message(2500, "a", 3);
    EXPECT_TRUE(cursor.goTo(2499));
    EXPECT_EQ(1000.0, cursor.time());
    EXPECT_FALSE(cursor.goTo(1000));
    EXPECT_TRUE(cursor.goTo(1e12));
    EXPECT_EQ(2500.0, cursor.time());
    EXPECT_TRUE(cursor.goTo(-1e12));
    EXPECT_EQ(0.0, cursor.time());
    EXPECT_TRUE(cursor.last());
    EXPECT_TRUE(cursor.first());
    EXPECT_EQ(0.0, cursor.time());
    EXPECT_FALSE(cursor.goTo(kNaN));

    // With events at 0 the start is the first event time; one before 0 becomes the first time.
    message(0, "a", 0);
    message(-500, "a", 0);
    EXPECT_EQ(0.0, cursor.time());
    EXPECT_EQ(4u, cursor.timeCount());
    EXPECT_EQ(1, cursor.currentTimeIndex());
    EXPECT_TRUE(cursor.first());
    EXPECT_EQ(-500.0, cursor.time());
    EXPECT_TRUE(cursor.next());
    EXPECT_EQ(0.0, cursor.time());
}

TEST_F(SDTimeCursorTest, CellsHoldTheirLastOutputOnPortOutAtOrBeforeTheTime) {
    SDCELLDevsModel* grid = space("grid", 3, 2, 1);
    message(1000, "grid(1,0)", 5);
    message(1000, "grid(1,0)", 6);  // equal times: the later in the list wins
    message(1000, "grid(2,1)", 7, "other");
    message(1000, "grid(2,1)", 8, "out", 0);  // an external message
    message(2000, "grid(2,1)", 9);
    message(3000, "grid(1,0)", 10);
    message(kNaN, "grid(0,0)", 11);
    message(3000, "grid(9,9)", 12);  // outside the space
    message(3000, "grid(-1,0)", 13);
    const size_t c10 = 1 * 2 + 0;
    const size_t c21 = 2 * 2 + 1;

    EXPECT_EQ("-", cell(grid, c10));
    cursor.next();
    EXPECT_EQ("6@1000", cell(grid, c10));
    EXPECT_EQ("-", cell(grid, c21));
    cursor.last();
    EXPECT_EQ("10@3000", cell(grid, c10));
    EXPECT_EQ("9@2000", cell(grid, c21));
    EXPECT_EQ("-", cell(grid, 0));
    cursor.previous();
    EXPECT_EQ("6@1000", cell(grid, c10));
    cursor.previous();
    EXPECT_EQ("-", cell(grid, c21));
    cursor.first();
    EXPECT_EQ("-", cell(grid, c10));
    double low = 0, high = 0;
    ASSERT_TRUE(grid->getValues().range(low, high));
    EXPECT_EQ(5.0, low);
    EXPECT_EQ(10.0, high);
}

// The view re-colours only what a step changed; a jump or a new index refreshes everything.
TEST_F(SDTimeCursorTest, AStepReportsOnlyTheCellsItChanged) {
    SDCELLDevsModel* grid = space("grid", 10, 10, 1);
    message(1000, "grid(1,1)", 1);
    message(1000, "grid(2,2)", 4);
    message(2000, "grid(3,3)", 2);
    message(2000, "grid(3,3)", 3);
    std::vector<uint32_t> cells;
    bool all = false;
    cursor.next();
    grid->getValues().takeChanges(cells, all);
    EXPECT_TRUE(all) << "the first index is new to the view";
    cursor.next();
    grid->getValues().takeChanges(cells, all);
    EXPECT_FALSE(all);
    EXPECT_EQ(33u, cells.at(0));
    EXPECT_EQ(cells.size(), static_cast<size_t>(std::count(cells.begin(), cells.end(), 33u)));
    cursor.previous();
    grid->getValues().takeChanges(cells, all);
    EXPECT_FALSE(all);
    EXPECT_EQ(33u, cells.at(0));
    grid->getValues().takeChanges(cells, all);
    EXPECT_TRUE(cells.empty() && !all) << "nothing changed since";
}

// Cells of several spaces in turn, and names of a cell of no space or of a space that is a plain model.
TEST_F(SDTimeCursorTest, CellsOfSpacesNamedInTurnTakeTheirOwnSpacesValues) {
    SDCELLDevsModel* a = space("a", 2, 1, 1);
    SDCELLDevsModel* b = space("b", 2, 1, 1);
    plain("p");
    message(1000, "a(0)", 1);
    message(1000, "b(1)", 2);
    message(1000, "ghost(0)", 3);
    message(1000, "a(1)", 4);
    message(1000, "p(1)", 5);
    message(1000, "b(0)", 6);
    message(1000, "a(0)", 7);
    cursor.last();
    EXPECT_EQ("7@1000", cell(a, 0));
    EXPECT_EQ("4@1000", cell(a, 1));
    EXPECT_EQ("6@1000", cell(b, 0));
    EXPECT_EQ("2@1000", cell(b, 1));
    double value = 0;
    uint32_t timeIndex = 0;
    EXPECT_FALSE(cursor.output("p(1)", "out", value, timeIndex));
    EXPECT_FALSE(cursor.output("ghost(0)", "out", value, timeIndex));
}

TEST_F(SDTimeCursorTest, NanAndInfiniteValuesAreShownButLeftOutOfTheRange) {
    SDCELLDevsModel* line = space("line", 3, 1, 1);
    message(1000, "line(0)", std::numeric_limits<double>::infinity());
    message(1000, "line(1)", kNaN);
    message(1000, "line(2)", -2);
    cursor.last();
    EXPECT_EQ("inf@1000", cell(line, 0));
    EXPECT_EQ("nan@1000", cell(line, 1));
    double low = 0, high = 0;
    ASSERT_TRUE(line->getValues().range(low, high));
    EXPECT_EQ(-2.0, low);
    EXPECT_EQ(-2.0, high);
}

TEST_F(SDTimeCursorTest, PlainModelsKeepTheLastValueOfEachOutputPort) {
    plain("gunner");
    message(1000, "gunner", 1, "out");
    message(2000, "gunner", 0, "fire");
    message(3000, "gunner", 4, "out");
    message(3000, "top", 2, "in", 0);
    double value = 0;
    uint32_t timeIndex = 0;
    EXPECT_FALSE(cursor.output("gunner", "out", value, timeIndex));
    cursor.goTo(2000);
    ASSERT_TRUE(cursor.output("gunner", "out", value, timeIndex));
    EXPECT_EQ(1.0, value);
    EXPECT_EQ(1000.0, cursor.timeAt(timeIndex));
    ASSERT_TRUE(cursor.output("gunner", "fire", value, timeIndex));
    EXPECT_EQ(0.0, value);
    EXPECT_FALSE(cursor.output("top", "in", value, timeIndex));
    EXPECT_FALSE(cursor.output("nobody", "out", value, timeIndex));
    cursor.last();
    ASSERT_TRUE(cursor.output("gunner", "out", value, timeIndex));
    EXPECT_EQ(4.0, value);
}

TEST_F(SDTimeCursorTest, EventsAndCellsAddedLaterAreFollowedAndTheTimeStays) {
    SDCELLDevsModel* grid = space("grid", 2, 1, 1);
    message(1000, "grid(0)", 1);
    message(3000, "grid(0)", 3);
    cursor.goTo(2000);
    EXPECT_EQ("1@1000", cell(grid, 0));
    // A second import: earlier and later events, and a space that grows (renumbering its cells).
    message(2000, "grid(0)", 2);
    message(500, "grid(1)", 5);
    message(2000, "grid(3,1)", 4);
    auto* bigger = new SDCELLDevsModel;
    bigger->setName("grid");
    bigger->ensureCell(3, 1, 0);
    EXPECT_FALSE(offerModel(models, bigger));
    delete bigger;
    EXPECT_EQ(1000.0, cursor.time());  // the stored time is untouched until the cursor is next used
    cursor.goTo(2000);
    EXPECT_EQ(2000.0, cursor.time());
    EXPECT_EQ("2@2000", cell(grid, 0));
    EXPECT_EQ("5@500", cell(grid, 1 * 2 + 0));
    EXPECT_EQ("4@2000", cell(grid, 3 * 2 + 1));
    EXPECT_EQ(4u, cursor.timeCount());
}

// Any sequence of steps and jumps shows what replaying the log from the start up to the cursor's time
// shows. The log is long enough for several checkpoints and holds every kind of event the cursor skips.
TEST_F(SDTimeCursorTest, StepsAndJumpsAgreeWithAReplayFromTheStart) {
    SDCELLDevsModel* grid = space("grid", 4, 3, 2);
    plain("gen");
    std::mt19937 random(11);
    struct Message {
        double time;
        int x, y, z;
        double value;
        bool counts;
    };
    std::vector<Message> log;
    double time = 0;
    for (int i = 0; i < 9000; ++i) {
        time += static_cast<double>(random() % 3) * 10.0;  // many equal times
        Message m{time,
                  static_cast<int>(random() % 5),
                  static_cast<int>(random() % 3),
                  static_cast<int>(random() % 2),
                  static_cast<double>(random() % 1000),
                  true};
        const int kind = static_cast<int>(random() % 10);
        if (kind == 0) {
            message(time, "grid(1,1,1)", m.value, "neighborchange");
            m.counts = false;
        } else if (kind == 1) {
            message(time, "gen", m.value, "out");
            m.counts = false;
        } else if (kind == 2) {
            message(kNaN, "grid(0,0,0)", m.value);
            m.counts = false;
        } else {
            message(
                time,
                "grid(" + std::to_string(m.x) + "," + std::to_string(m.y) + "," + std::to_string(m.z) + ")",
                m.value);
            m.counts = m.x < 4;
        }
        log.push_back(m);
    }
    auto expectReplay = [&](const std::string& how) {
        std::map<size_t, std::pair<double, double>> expected;
        for (const Message& m : log) {
            if (m.counts && m.time <= cursor.time()) {
                expected[static_cast<size_t>((m.x * 3 + m.y) * 2 + m.z)] = {m.value, m.time};
            }
        }
        const SDCellValues& values = grid->getValues();
        for (size_t i = 0; i < values.size(); ++i) {
            auto found = expected.find(i);
            ASSERT_EQ(found != expected.end(), values.hasValue(i)) << how << " cell " << i;
            if (found != expected.end()) {
                ASSERT_EQ(found->second.first, values.value(i)) << how << " cell " << i;
                ASSERT_EQ(found->second.second, cursor.timeAt(values.timeIndex(i))) << how << " cell " << i;
            }
        }
    };
    for (int round = 0; round < 300; ++round) {
        const int move = static_cast<int>(random() % 6);
        std::string how;
        if (move == 0) {
            cursor.goTo(static_cast<double>(random() % static_cast<unsigned>(time + 100)));
            how = "goto";
        } else if (move == 1) {
            for (int k = 0; k < 40; ++k) {
                cursor.next();
            }
            how = "next";
        } else if (move == 2) {
            for (int k = 0; k < 40; ++k) {
                cursor.previous();
            }
            how = "previous";
        } else if (move == 3) {
            cursor.last();
            how = "last";
        } else {
            cursor.goTo(cursor.time() + static_cast<double>(random() % 200) - 100.0);
            how = "near";
        }
        expectReplay(how + " to " + std::to_string(cursor.time()));
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
    // The checkpoints stay a small part of what the events take.
    EXPECT_GT(cursor.checkpointBytes(), 0u);
    EXPECT_LE(cursor.checkpointBytes() * 4, events.memoryBytes());
}

// A run of more names and events than one thread reads alone: its halves must join into one index. Each of
// the 90,000 cells sends its number once, seven cells a time 10 ms apart, and a plain model sends on port
// "a" every 1,000th cell in the first two thirds and on "b" after them. Counted by hand: 12,858 times
// (90,000 / 7, rounded up); the middle of the list falls inside the time of cells 44,996 to 45,002.
TEST_F(SDTimeCursorTest, ALargeRunIndexedInHalvesHasEveryTimeAndValueOnce) {
    SDCELLDevsModel* grid = space("grid", 300, 300, 1);
    plain("gen");
    auto timeOf = [](int i) { return static_cast<double>(i / 7) * 10.0; };
    for (int i = 0; i < 90000; ++i) {
        if (i % 1000 == 0) {
            message(timeOf(i), "gen", i, i < 60000 ? "a" : "b");
        }
        message(timeOf(i), "grid(" + std::to_string(i / 300) + "," + std::to_string(i % 300) + ")", i);
    }
    EXPECT_EQ(12858u, cursor.timeCount());
    double lowest = -1;
    double highest = -1;
    ASSERT_TRUE(grid->getValues().range(lowest, highest));
    EXPECT_EQ(0.0, lowest);
    EXPECT_EQ(89999.0, highest);
    struct Case {
        double time;
        int lastCell;  // the highest cell number sent by then
        int lastA;
        int lastB;  // -1: nothing sent on "b" yet
    };
    const Case cases[] = {
        {timeOf(44999), 45002, 45000, -1},
        {timeOf(60000) - 10.0, 59996, 59000, -1},
        {timeOf(89999), 89999, 59000, 89000},
    };
    for (const Case& c : cases) {
        cursor.goTo(c.time);
        EXPECT_EQ(c.time, cursor.time());
        for (int i : {0, 44996, 45002, c.lastCell, c.lastCell + 1, 89999}) {
            const std::string expected =
                i <= c.lastCell ? std::to_string(i) + "@" + std::to_string(static_cast<int>(timeOf(i))) : "-";
            EXPECT_EQ(expected, cell(grid, static_cast<size_t>(i))) << "cell " << i << " at " << c.time;
        }
        double value = 0;
        uint32_t timeIndex = 0;
        ASSERT_TRUE(cursor.output("gen", "a", value, timeIndex));
        EXPECT_EQ(c.lastA, value);
        EXPECT_EQ(c.lastB >= 0, cursor.output("gen", "b", value, timeIndex));
        if (c.lastB >= 0) {
            EXPECT_EQ(c.lastB, value);
        }
    }
}

}  // namespace
