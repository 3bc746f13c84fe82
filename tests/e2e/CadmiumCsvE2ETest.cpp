// A generated Cadmium 2 Cell-DEVS run of 100×100 cells over 50 steps in the real program: it plays to its
// end, plots and exports a cell's values, and the picture is written. The expected values come from
// stepping the generator's heat field here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tools/CadmiumCsvLog.h"
#include "tools/HeatField.h"

namespace {

double printed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return std::stod(text);
}

TEST(CadmiumCsvE2ETest, AGeneratedRunPlaysPlotsAndExports) {
    if (!ProgramRun::displayAvailable()) {
        GTEST_SKIP() << "the test command provides no display (DISPLAY)";
    }
    CadmiumCsvOptions options;
    options.field.width = 100;
    options.field.height = 100;
    options.field.steps = 50;
    options.field.sources = 40;
    TempDir dir;
    const std::string path = dir.file("heat.csv");
    {
        std::ofstream out(path);
        ASSERT_TRUE(writeCadmiumCsvLog(options, out));
    }
    // Cells near a source move at once, cells far away late or never; the corner is a source.
    const int probes[][2] = {{10, 20}, {50, 50}, {99, 0}, {1, 98}};
    std::vector<std::string> arguments = {"--snapshot", "p.png", "--time", "end"};
    for (const auto& probe : probes) {
        const std::string cell = "cells " + std::to_string(probe[0]) + " " + std::to_string(probe[1]);
        const std::string file = "cell_" + std::to_string(probe[0]) + "_" + std::to_string(probe[1]) + ".csv";
        arguments.insert(arguments.end(),
                         {"--command", "vis_plot " + cell, "--command", "vis_export " + cell + " " + file});
    }
    arguments.push_back(path);
    ProgramRun run(arguments);
    ASSERT_EQ(0, run.status()) << run.err();
    EXPECT_TRUE(run.exists("p.png"));
    const std::string log = readFile(run.file("log.txt"));
    EXPECT_NE(std::string::npos, log.find("Current time: 00:00:05:000")) << "at the run's end";

    // Each probe's (time in ms, value) rows, from the field stepped here.
    HeatField heat = heatFieldAtStart(options.field);
    std::vector<std::vector<std::pair<double, double>>> expected(std::size(probes));
    std::vector<double> sent(std::size(probes));
    for (int step = 0; step <= options.field.steps; ++step) {
        if (step > 0) {
            heat.step();
        }
        for (size_t i = 0; i < std::size(probes); ++i) {
            const double now = heat.temperature(probes[i][0], probes[i][1], 0);
            if (step == 0 || step == options.field.steps ||
                std::fabs(now - sent[i]) >= options.field.quantum) {
                expected[i].emplace_back(step * 100.0, printed(now));
                sent[i] = now;
            }
        }
    }
    for (size_t i = 0; i < std::size(probes); ++i) {
        const std::string file =
            "cell_" + std::to_string(probes[i][0]) + "_" + std::to_string(probes[i][1]) + ".csv";
        // Values compared as numbers: the export writes the shortest text that reads back the same.
        std::istringstream got(readFile(run.file(file)));
        std::string line;
        ASSERT_TRUE(std::getline(got, line));
        EXPECT_EQ("time,time_ms,value", line) << file;
        std::vector<std::pair<double, double>> rows;
        while (std::getline(got, line)) {
            const size_t first = line.find(',');
            const size_t last = line.rfind(',');
            rows.emplace_back(std::stod(line.substr(first + 1, last - first - 1)),
                              std::stod(line.substr(last + 1)));
        }
        EXPECT_EQ(expected[i], rows) << file;
        EXPECT_NE(std::string::npos, log.find("Exported " + std::to_string(rows.size()) + " rows to " + file))
            << file;
    }
}

}  // namespace
