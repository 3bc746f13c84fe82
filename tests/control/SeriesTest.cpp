// What vis_plot and vis_export read: the named series, the refusals, the CSV text, and on the real logs
// every series against the log file read independently.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "control/VCSeriesCsv.h"
#include "control/VCSeriesTarget.h"
#include "control/VCSimulation.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDSeries.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/LogSeries.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

VCSeriesTarget target(const Words& words) {
    VCSeriesTarget parsed;
    EXPECT_TRUE(VCSeriesTarget::parse(words, parsed)) << words.front();
    return parsed;
}

TEST(SeriesTargetTest, ACellIsAModelAndWholeNumbersAnythingElseOneWord) {
    struct Case {
        Words words;
        bool valid;
        VCSeriesTarget::Kind kind;
        long long x, y, z;
    };
    const Case cases[] = {
        {{"life", "3", "4"}, true, VCSeriesTarget::Kind::Cell, 3, 4, 0},
        {{"cube", "1", "-2", "+3"}, true, VCSeriesTarget::Kind::Cell, 1, -2, 3},
        {{"line", "7"}, true, VCSeriesTarget::Kind::Cell, 7, 0, 0},
        {{"top.out"}, true, VCSeriesTarget::Kind::Named, 0, 0, 0},
        {{"life"}, true, VCSeriesTarget::Kind::Named, 0, 0, 0},
        {{}, false, {}, 0, 0, 0},
        {{""}, false, {}, 0, 0, 0},
        {{"life", "3.5"}, false, {}, 0, 0, 0},
        {{"life", "3", "x"}, false, {}, 0, 0, 0},
        {{"life", "-"}, false, {}, 0, 0, 0},
        {{"life", "1", "2", "3", "4"}, false, {}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        VCSeriesTarget parsed;
        const std::string what = c.words.empty() ? "(none)" : c.words.front() + " ...";
        ASSERT_EQ(c.valid, VCSeriesTarget::parse(c.words, parsed)) << what << " " << c.words.size();
        if (c.valid) {
            EXPECT_EQ(c.kind, parsed.kind) << what;
            EXPECT_EQ(c.x, parsed.x) << what;
            EXPECT_EQ(c.y, parsed.y) << what;
            EXPECT_EQ(c.z, parsed.z) << what;
        }
    }
    EXPECT_EQ(target({"life", "3", "4", "0"}), target({"life", "3", "4"})) << "the same cell";
    EXPECT_NE(target({"life", "3", "4"}), target({"life", "4", "3"}));
    EXPECT_EQ("life 3 4", target({"life", "3", "4"}).text());
}

class SeriesFetchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string log = dir.write("run.log",
                                          "msg Y / 00:00:01:000 / grid(1,0)(09) / out / 1.5 to grid(02)\n"
                                          "msg X / 00:00:01:000 / top(01) / in / 4 to gen(03)\n"
                                          "msg X / 00:00:01:000 / grid(02) / in / 0 to grid(0,1)(04)\n"
                                          "msg Y / 00:00:02:000 / gen(03) / out / -2 to top(01)\n"
                                          "msg Y / 00:00:03:000 / grid(1,0)(09) / out / 2.25 to grid(02)\n");
        ASSERT_TRUE(simulation.newVisualization("run"));
        ASSERT_TRUE(simulation.importLogFile(log));
    }
    std::string refusal(const Words& words) {
        SDSeries series;
        std::string error;
        EXPECT_FALSE(target(words).fetch(series, error));
        return error;
    }

    TempDir dir;
    LogRecorder rec;
    VCSimulation simulation;
};

TEST_F(SeriesFetchTest, EachFormReadsItsSeriesAndALabelForTheLegend) {
    struct Case {
        Words words;
        const char* label;
        bool spread;
        std::vector<double> times;
        std::vector<double> values;
    };
    const Case cases[] = {
        {{"grid", "1", "0"}, "grid(1,0)", false, {1000, 3000}, {1.5, 2.25}},
        {{"grid", "0"}, "grid(0,0)", false, {}, {}},
        {{"gen.out"}, "gen.out", false, {2000}, {-2}},
        {{"gen.in"}, "gen.in", false, {1000}, {4}},
        {{"grid"}, "grid", true, {1000, 2000, 3000}, {1.5, 1.5, 2.25}},
    };
    for (const Case& c : cases) {
        SDSeries series;
        std::string error;
        ASSERT_TRUE(target(c.words).fetch(series, error)) << c.label << ": " << error;
        EXPECT_EQ(c.label, series.label);
        EXPECT_EQ(c.spread, series.spread) << c.label;
        EXPECT_EQ(c.times, series.times) << c.label;
        EXPECT_EQ(c.values, series.values) << c.label;
    }
}

TEST_F(SeriesFetchTest, WhatCannotBeReadIsRefusedWithTheReason) {
    EXPECT_EQ("No model named ghost", refusal({"ghost"}));
    EXPECT_EQ("No model named ghost", refusal({"ghost.out"}));
    EXPECT_EQ("No model named ghost", refusal({"ghost", "1"}));
    EXPECT_EQ("gen is not a Cell-DEVS model: name one of its ports (out, in), as gen.<port>",
              refusal({"gen"}));
    EXPECT_EQ("gen has no port named aux (its ports: out, in)", refusal({"gen.aux"}));
    EXPECT_EQ("gen is not a Cell-DEVS model", refusal({"gen", "0", "0"}));
    EXPECT_EQ("Cell (2,0,0) is outside grid's 2x2x1 cells", refusal({"grid", "2", "0"}));
    EXPECT_EQ("Cell (0,-1,0) has a negative coordinate", refusal({"grid", "0", "-1"}));
    simulation.closeVisualization();
    EXPECT_EQ("Visualization does not exist.", refusal({"grid"}));
}

TEST(SeriesCsvTest, AHeaderThenOneRowPerPointTimesTwiceValuesWithSixDecimals) {
    SDSeries plain;
    plain.times = {0, 1500, 3723004};
    plain.values = {1, -0.0000004, 16223334039552.0};
    EXPECT_EQ(
        "time,time_ms,value\n"
        "00:00:00:000,0,1.000000\n"
        "00:00:01:500,1500,-0.000000\n"
        "01:02:03:004,3723004,16223334039552.000000\n",
        VCSeriesCsv::text(plain));

    SDSeries spread;
    spread.spread = true;
    const double none = std::nan("");
    spread.times = {100, 200};
    spread.values = {none, 0.5};
    spread.minimum = {none, 0.25};
    spread.maximum = {none, 1};
    EXPECT_EQ(
        "time,time_ms,min,mean,max\n"
        "00:00:00:100,100,,,\n"
        "00:00:00:200,200,0.250000,0.500000,1.000000\n",
        VCSeriesCsv::text(spread));
    EXPECT_EQ("time,time_ms,value\n", VCSeriesCsv::text(SDSeries()));
}

// Every cell's and every plain port's series on every real log, against the file itself.
TEST(RealLogSeriesTest, EverySeriesHasTheTimesAndValuesOfTheLogsMessages) {
    const fs::path folder = fs::path(TESS_SHARED_DIR) / "logs";
    if (!fs::is_directory(folder)) {
        GTEST_SKIP() << "no real logs at " << folder;
    }
    LogRecorder rec;
    VCSimulation simulation;
    size_t checked = 0;
    for (const char* name : {"water_spread_2d_25x25.log", "thermal_cube_3d_4x4x4.log", "gun_loader_crew.log",
                             "pulse_neuron_timer.log", "packet_receiver_big_values.log"}) {
        SCOPED_TRACE(name);
        const std::string path = (folder / name).string();
        const LogSeries expected = LogSeries::read(path);
        ASSERT_TRUE(simulation.newVisualization(name));
        ASSERT_TRUE(simulation.importLogFile(path));
        for (const auto* kind : {&expected.outputs, &expected.inputs}) {
            for (const auto& [key, points] : *kind) {
                // "plane(3,4)" is the cell "plane 3 4"; "top.out" stands as it is.
                Words words;
                const size_t open = key.find('(');
                if (open == std::string::npos) {
                    words = {key};
                } else {
                    words = {key.substr(0, open)};
                    std::string inside = key.substr(open + 1, key.size() - open - 2);
                    for (size_t at = 0; at != std::string::npos;) {
                        const size_t comma = inside.find(',', at);
                        words.push_back(inside.substr(at, comma == std::string::npos ? comma : comma - at));
                        at = comma == std::string::npos ? comma : comma + 1;
                    }
                }
                // A port that is an output too reads as one.
                if (kind == &expected.inputs && expected.outputs.count(key) != 0) {
                    continue;
                }
                SDSeries series;
                std::string error;
                ASSERT_TRUE(target(words).fetch(series, error)) << key << ": " << error;
                ASSERT_EQ(points.size(), series.size()) << key;
                for (size_t i = 0; i < points.size(); ++i) {
                    EXPECT_EQ(points[i].milliseconds, series.times[i]) << key << " " << points[i].time;
                    EXPECT_EQ(std::stod(points[i].value), series.values[i]) << key << " " << points[i].time;
                }
                ++checked;
            }
        }
        simulation.closeVisualization();
    }
    EXPECT_GT(checked, 300u) << "every cell that sent a value, every port";
}

}  // namespace
