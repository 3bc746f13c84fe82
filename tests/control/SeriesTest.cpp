// What vis_plot and vis_export read: the named series, the refusals, the CSV text, and on the real logs
// every series against the log file read independently.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
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

TEST(SeriesTargetTest, ACellIsAModelAndUpToThreeWholeNumbersAnythingElseOneWord) {
    VCSeriesTarget parsed;
    ASSERT_TRUE(VCSeriesTarget::parse({"cube", "1", "-2", "+3"}, parsed));
    EXPECT_EQ(VCSeriesTarget::Kind::Cell, parsed.kind);
    EXPECT_EQ((std::vector<long long>{1, -2, 3}), (std::vector<long long>{parsed.x, parsed.y, parsed.z}));
    ASSERT_TRUE(VCSeriesTarget::parse({"top.out"}, parsed));
    EXPECT_EQ(VCSeriesTarget::Kind::Named, parsed.kind);
    for (const Words& refused : {Words{}, Words{""}, Words{"life", "3.5"}, Words{"life", "3", "x"},
                                 Words{"life", "-"}, Words{"life", "1", "2", "3", "4"}}) {
        EXPECT_FALSE(VCSeriesTarget::parse(refused, parsed)) << refused.size() << " words";
    }
    EXPECT_EQ(target({"life", "3", "4", "0"}), target({"life", "3", "4"})) << "the same cell";
    EXPECT_NE(target({"life", "3", "4"}), target({"life", "4", "3"}));
    EXPECT_EQ("life 3 4", target({"life", "3", "4"}).text());
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
                // "plane 3 4" names a cell, "top.out" a port, as vis_plot words them.
                Words words;
                std::istringstream split(key);
                for (std::string word; split >> word;) {
                    words.push_back(word);
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
