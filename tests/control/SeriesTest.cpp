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

// Values are written in the shortest text that reads back as the same number: nothing small is lost.
TEST(SeriesCsvTest, AHeaderThenOneRowPerPointTimesTwiceValuesThatReadBack) {
    SDSeries plain;
    plain.times = {0, 1, 2, 3, 4, 1500, 3723004};
    plain.values = {1, 1e-07, 0.44444, 123456789.125, 0.1 + 0.2, -0.0000004, 16223334039552.0};
    EXPECT_EQ(
        "time,time_ms,value\n"
        "00:00:00:000,0,1\n"
        "00:00:00:001,1,1e-07\n"
        "00:00:00:002,2,0.44444\n"
        "00:00:00:003,3,123456789.125\n"
        "00:00:00:004,4,0.30000000000000004\n"
        "00:00:01:500,1500,-4e-07\n"
        "01:02:03:004,3723004,16223334039552\n",
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
        "00:00:00:200,200,0.25,0.5,1\n",
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

// The water run with its model file: (6,6), (6,18), (18,6) and (18,18) start with 4 units, every other cell
// dry. The rows were worked out with awk from the log and the .val file, not with this program: at each
// time every one of the 625 cells holds its last "out" at or before it, or else its initial value.
TEST(RealLogSeriesTest, InitialValuesCountInACellsSeriesAndInItsSpacesSpread) {
    const fs::path folder = fs::path(TESS_SHARED_DIR) / "logs";
    if (!fs::is_directory(folder)) {
        GTEST_SKIP() << "no real logs at " << folder;
    }
    LogRecorder rec;
    VCSimulation simulation;
    ASSERT_TRUE(simulation.newVisualization("water"));
    ASSERT_TRUE(simulation.importLogFile((folder / "water_spread_2d_25x25.log").string()));
    const uint64_t before = simulation.getRunRevision();
    ASSERT_TRUE(simulation.importModelFile(std::string(TESS_SOURCE_DIR) +
                                           "/samples/models/water_spread_2d_25x25.ma"));
    EXPECT_LT(before, simulation.getRunRevision()) << "a plot shown before reads its series again";
    // Time, the water of all cells, the largest value; the smallest is 0 throughout.
    const double rows[][3] = {{0, 16, 4},
                              {1000, 15.99984, 0.44444},
                              {2000, 16.00016, 0.44444},
                              {3000, 16.00008, 0.26886},
                              {4000, 15.96538, 0.26886}};
    SDSeries s;
    std::string error;
    ASSERT_TRUE(target({"plane"}).fetch(s, error)) << error;
    ASSERT_EQ(5u, s.size());
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(rows[i][0], s.times[i]);
        EXPECT_EQ(0.0, s.minimum[i]) << rows[i][0];
        EXPECT_NEAR(rows[i][1] / 625, s.values[i], 1e-12) << rows[i][0];
        EXPECT_EQ(rows[i][2], s.maximum[i]) << rows[i][0];
    }
    ASSERT_TRUE(target({"plane", "6", "6"}).fetch(s, error)) << error;
    EXPECT_EQ((std::vector<double>{0, 1000, 3000, 4000}), s.times);
    EXPECT_EQ((std::vector<double>{4, 0.44444, 0.26886, 0.22009}), s.values);
    ASSERT_TRUE(target({"plane", "12", "12"}).fetch(s, error)) << error;  // it never sends a message
    EXPECT_EQ((std::vector<double>{0}), s.times);
    EXPECT_EQ((std::vector<double>{0}), s.values);
}

}  // namespace
