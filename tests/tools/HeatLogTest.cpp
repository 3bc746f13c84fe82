// The heat diffusion generator: the field's physics, the log's lines, and that replaying the log's Y lines
// gives back the field it was written from.
#include "tools/HeatLog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/LogText.h"
#include "tools/HeatField.h"
#include "tools/HeatLogArguments.h"

namespace {

std::vector<std::string> linesOf(const HeatLogOptions& options, HeatLogSummary* summary = nullptr) {
    std::ostringstream out;
    EXPECT_TRUE(writeHeatLog(options, out, summary));
    return splitLines(out.str());
}

TEST(HeatFieldTest, HeatSpreadsFromASourceToItsFaceNeighboursOnly) {
    HeatField field(5, 5, 1, 0.0);
    field.addSource(2, 2, 0, 100.0);
    field.step();
    EXPECT_DOUBLE_EQ(100.0, field.temperature(2, 2, 0)) << "a source holds its temperature";
    EXPECT_DOUBLE_EQ(0.2, field.rate()) << "two axes: 1 / 5";
    for (auto [x, y] : {std::pair{1, 2}, {3, 2}, {2, 1}, {2, 3}}) {
        EXPECT_DOUBLE_EQ(20.0, field.temperature(x, y, 0)) << x << "," << y;
    }
    EXPECT_DOUBLE_EQ(0.0, field.temperature(1, 1, 0)) << "diagonals are not neighbours";
    EXPECT_DOUBLE_EQ(0.0, field.temperature(0, 2, 0));
}

// Between a hot and a cold end the rod settles into the straight line from one to the other, never going
// past either temperature on the way, and the cells are numbered x outermost.
TEST(HeatFieldTest, ARodBetweenTwoSourcesSettlesIntoAStraightLine) {
    HeatField rod(1, 5, 1, 0.0);
    rod.addSource(0, 0, 0, 90.0);
    rod.addSource(0, 4, 0, -30.0);
    for (int i = 0; i < 2000; ++i) {
        rod.step();
        for (size_t cell = 0; cell < rod.cellCount(); ++cell) {
            ASSERT_LE(rod.temperature(cell), 90.0);
            ASSERT_GE(rod.temperature(cell), -30.0);
        }
    }
    const double expected[] = {90.0, 60.0, 30.0, 0.0, -30.0};
    for (int y = 0; y < 5; ++y) {
        EXPECT_NEAR(expected[y], rod.temperature(0, y, 0), 1e-9) << y;
    }

    HeatField box(4, 3, 5, 0.0);
    EXPECT_EQ(size_t{(2 * 3 + 1) * 5 + 4}, box.index(2, 1, 4));
    for (size_t cell = 0; cell < box.cellCount(); ++cell) {
        int x = 0;
        int y = 0;
        int z = 0;
        box.coordinates(cell, x, y, z);
        EXPECT_EQ(cell, box.index(x, y, z));
    }
}

TEST(HeatFieldTest, NeighboursStayInsideTheBox) {
    HeatField box(3, 3, 3, 0.0);
    size_t around[6];
    EXPECT_EQ(3, box.neighbours(box.index(0, 0, 0), around));
    EXPECT_EQ(6, box.neighbours(box.index(1, 1, 1), around));
    EXPECT_EQ(5, box.neighbours(box.index(1, 1, 2), around));
    HeatField line(1, 1, 4, 0.0);
    EXPECT_EQ(1, line.neighbours(line.index(0, 0, 3), around));
    EXPECT_EQ(line.index(0, 0, 2), around[0]);
    EXPECT_DOUBLE_EQ(1.0 / 3.0, line.rate());
}

// Every line has the shape of the simulator's: the fields count 6, 7 or 8 as for its kind, times go up,
// Y lines go from a cell on port out to the cell space and X lines from the cell space to a face
// neighbour of the cell that reported just before.
TEST(HeatLogTest, LinesHaveTheSimulatorsShapes) {
    HeatLogOptions options;
    options.width = 6;
    options.height = 5;
    options.depth = 4;
    options.threeD = true;
    options.steps = 6;
    options.name = "heat";
    HeatLogSummary summary;
    const std::vector<std::string> lines = linesOf(options, &summary);
    ASSERT_EQ(static_cast<size_t>(summary.lines), lines.size());
    EXPECT_EQ("msg I / 00:00:00:000 / Root(00) to top(01)", lines[0]);
    EXPECT_EQ("msg D / 00:00:00:600 / top(01) / ... to Root(00)", lines.back());
    long long x = 0;
    long long y = 0;
    std::string last;
    for (const std::string& line : lines) {
        const std::vector<std::string> f = fields(line);
        ASSERT_GE(f.size(), 6u) << line;
        EXPECT_EQ("msg", f[0]);
        EXPECT_GE(f[2], last) << "times never go back";
        last = f[2];
        const std::string& kind = f[1];
        if (kind == "Y") {
            ASSERT_EQ(8u, f.size()) << line;
            int cx = -1;
            int cy = -1;
            int cz = -1;
            long long id = -1;
            ASSERT_EQ(4, std::sscanf(f[3].c_str(), "heat(%d,%d,%d)(%lld)", &cx, &cy, &cz, &id)) << line;
            EXPECT_EQ(3 + (cx * 5 + cy) * 4 + cz, id);
            EXPECT_EQ("out", f[4]);
            EXPECT_EQ("heat(02)", f[7]);
            ++y;
        } else if (kind == "X") {
            ASSERT_EQ(8u, f.size()) << line;
            EXPECT_EQ("heat(02)", f[3]);
            EXPECT_EQ("neighborchange", f[4]);
            ++x;
        } else if (kind == "D") {
            EXPECT_EQ(7u, f.size()) << line;
        } else {
            EXPECT_TRUE(kind == "I" || kind == "*") << line;
            EXPECT_EQ(6u, f.size()) << line;
        }
    }
    EXPECT_EQ(summary.outputMessages, y);
    EXPECT_EQ(summary.externalMessages, x);

    options.neighbours = false;
    HeatLogSummary quiet;
    linesOf(options, &quiet);
    EXPECT_EQ(0, quiet.externalMessages);
    EXPECT_EQ(summary.outputMessages, quiet.outputMessages);
}

// Replaying the Y lines step by step gives the field to within the quantum, every report moved at least
// the quantum from the cell's previous one, and the corners report first so the run spans the whole box.
TEST(HeatLogTest, ReportsFollowTheFieldByTheQuantum) {
    HeatLogOptions options;
    options.width = 12;
    options.height = 9;
    options.steps = 15;
    options.quantum = 1.5;
    options.sources = 3;
    options.seed = 7;
    HeatField field = heatFieldAtStart(options);
    std::map<size_t, double> sent;
    int step = 0;
    for (const std::string& line : linesOf(options)) {
        const std::vector<std::string> f = fields(line);
        if (f[1] == "D" && f[3] == "top(01)") {
            // The end of a step: every cell is within the quantum of what it last sent.
            for (size_t cell = 0; cell < field.cellCount(); ++cell) {
                const double known = sent.count(cell) != 0 ? sent[cell] : kHeatAmbient;
                EXPECT_LT(std::fabs(field.temperature(cell) - known), options.quantum) << "step " << step;
            }
            ++step;
            field.step();
            continue;
        }
        if (f[1] != "Y") {
            continue;
        }
        int x = -1;
        int y = -1;
        ASSERT_EQ(2, std::sscanf(f[3].c_str(), "heat(%d,%d)", &x, &y)) << line;
        const size_t cell = field.index(x, y, 0);
        const double value = std::stod(f[5]);
        EXPECT_NEAR(field.temperature(cell), value, 0.000005) << line;
        const double before = sent.count(cell) != 0 ? sent[cell] : kHeatAmbient;
        EXPECT_GE(std::fabs(value - before), options.quantum - 0.00001) << line;
        sent[cell] = value;
        if (step == 0) {
            EXPECT_TRUE(field.isSource(cell)) << "only sources report at the start: " << line;
        }
    }
    EXPECT_EQ(options.steps + 1, step);
    for (auto [x, y] : {std::pair{0, 0}, {11, 0}, {0, 8}, {11, 8}}) {
        EXPECT_EQ(1u, sent.count(field.index(x, y, 0))) << x << "," << y;
    }
}

TEST(HeatLogTest, TheSameOptionsWriteTheSameBytesAndTheSeedMovesTheSources) {
    HeatLogOptions options;
    options.sources = 6;
    EXPECT_EQ(linesOf(options), linesOf(options));
    HeatLogOptions other = options;
    other.seed = 2;
    EXPECT_NE(linesOf(options), linesOf(other));
}

TEST(HeatLogTest, RefusesOptionsThatDescribeNoRun) {
    std::vector<HeatLogOptions> refused(8);
    refused[0].width = 0;
    refused[1].depth = 2;  // a plane
    refused[2].steps = -1;
    refused[3].quantum = 0.0;
    refused[4].quantum = std::nan("");
    refused[5].name = "two words";
    refused[6].name = "life(02)";
    refused[7].substeps = 0;
    for (const HeatLogOptions& options : refused) {
        std::ostringstream out;
        std::string why;
        EXPECT_FALSE(validHeatLogOptions(options, &why));
        EXPECT_FALSE(why.empty());
        EXPECT_FALSE(writeHeatLog(options, out));
        EXPECT_EQ("", out.str());
    }
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    EXPECT_FALSE(writeHeatLog(HeatLogOptions(), broken));
}

// The shipped sample is what its documented command writes (samples/README.md).
TEST(HeatLogTest, TheShippedSampleMatchesItsCommand) {
    std::ifstream in(std::string(TESS_SOURCE_DIR) + "/samples/heat_40x40.log", std::ios::binary);
    ASSERT_TRUE(in.good());
    std::ostringstream shipped;
    shipped << in.rdbuf();
    HeatLogCommand command;
    std::string error;
    const char* args[] = {"heatlog", "--size",     "40x40",    "--steps",
                          "20",      "--substeps", "40",       "--quantum",
                          "4",       "--sources",  "8",        "--no-neighbours",
                          "--seed",  "1",          "--output", "samples/heat_40x40.log"};
    ASSERT_TRUE(parseHeatLogArguments(16, args, command, error)) << error;
    std::ostringstream out;
    ASSERT_TRUE(writeHeatLog(command.options, out));
    EXPECT_TRUE(out.str() == shipped.str()) << "samples/heat_40x40.log is out of date";
}

bool parse(std::vector<const char*> args, HeatLogCommand& command, std::string& error) {
    args.insert(args.begin(), "heatlog");
    return parseHeatLogArguments(static_cast<int>(args.size()), args.data(), command, error);
}

TEST(HeatLogTest, CommandLineReadsEveryOptionAndRefusesBadValues) {
    HeatLogCommand command;
    std::string error;
    ASSERT_TRUE(parse({"--size", "10x20x30", "--steps=4", "--substeps", "3", "--seed", "9", "--sources", "2",
                       "--quantum", "0.25", "--name", "heat", "--no-neighbours", "--out", "h.log"},
                      command, error))
        << error;
    const HeatLogOptions& o = command.options;
    EXPECT_EQ(10, o.width);
    EXPECT_EQ(20, o.height);
    EXPECT_EQ(30, o.depth);
    EXPECT_TRUE(o.threeD);
    EXPECT_EQ(4, o.steps);
    EXPECT_EQ(3, o.substeps);
    EXPECT_EQ(9u, o.seed);
    EXPECT_EQ(2, o.sources);
    EXPECT_EQ(0.25, o.quantum);
    EXPECT_EQ("heat", o.name);
    EXPECT_FALSE(o.neighbours);
    EXPECT_EQ("h.log", command.output);

    HeatLogCommand plane;
    ASSERT_TRUE(parse({"--size", "7x8"}, plane, error)) << error;
    EXPECT_FALSE(plane.options.threeD);
    EXPECT_EQ(1, plane.options.depth);

    const std::vector<std::vector<const char*>> refused = {
        {"--size", "10"},      {"--size", "10x"},  {"--size", "x10"},
        {"--size", "1x2x3x4"}, {"--size", "0x5"},  {"--size", "5000x5000x5000"},
        {"--steps", "-2"},     {"--quantum", "0"}, {"--name", "a/b"},
        {"--colour", "red"},   {"--steps"},        {"--output="},
    };
    for (const auto& args : refused) {
        HeatLogCommand fresh;
        error.clear();
        EXPECT_FALSE(parse(args, fresh, error)) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_FALSE(error.empty());
    }
    HeatLogCommand help;
    EXPECT_TRUE(parse({"--help"}, help, error));
    EXPECT_TRUE(help.help);
}

}  // namespace
