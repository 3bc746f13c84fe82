// The Game of Life log: line format, model references, determinism, and that the messages tell the run.
#include "tools/LifeLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/tools/LogText.h"
#include "tools/LifeLogArguments.h"

namespace {

std::string logOf(const LifeGrid& initial, int generations, LifeLogSummary* summary = nullptr) {
    std::ostringstream out;
    LifeLogWriter writer(out);
    EXPECT_TRUE(writer.write(initial, generations));
    if (summary != nullptr) {
        *summary = writer.summary();
    }
    return out.str();
}

std::string logOf(const LifeLogOptions& options) {
    std::ostringstream out;
    EXPECT_TRUE(writeLifeLog(options, out));
    return out.str();
}

struct Cell {
    int x = -1;
    int y = -1;
    int id = -1;
};

// life(x,y)(id) read back; x = -1 when the reference is not a cell of the life space.
Cell parseCell(const std::string& reference) {
    Cell cell;
    if (std::sscanf(reference.c_str(), "life(%d,%d)(%d)", &cell.x, &cell.y, &cell.id) != 3) {
        return Cell();
    }
    return cell;
}

int timeOf(const std::string& field) {
    int h = 0, m = 0, s = 0, ms = 0;
    EXPECT_EQ(4, std::sscanf(field.c_str(), "%d:%d:%d:%d", &h, &m, &s, &ms)) << field;
    return ((h * 60 + m) * 60 + s) * 1000 + ms;
}

TEST(LifeLogTest, TimesAndCellReferencesHaveTheSimulatorsForm) {
    EXPECT_EQ("00:00:00:000", formatLogTime(0));
    EXPECT_EQ("00:00:00:100", formatLogTime(100));
    EXPECT_EQ("00:00:59:999", formatLogTime(59999));
    EXPECT_EQ("01:02:03:004", formatLogTime(3723004));
    EXPECT_EQ("100:00:00:000", formatLogTime(360000000));

    // Ids count from 03 in cell order, two digits until they need three.
    EXPECT_EQ("life(0,0)(03)", lifeCellReference(0, 0, 8));
    EXPECT_EQ("life(0,7)(10)", lifeCellReference(0, 7, 8));
    EXPECT_EQ("life(1,0)(11)", lifeCellReference(1, 0, 8));
    EXPECT_EQ("life(9,6)(99)", lifeCellReference(9, 6, 10));
    EXPECT_EQ("life(9,7)(100)", lifeCellReference(9, 7, 10));
    EXPECT_EQ("life(99,99)(10002)", lifeCellReference(99, 99, 100));
}

TEST(LifeLogTest, EveryLineHasTheClassicShapeAndOnlyMessagesCutIntoEightFields) {
    LifeLogSummary summary;
    const std::string text = logOf(LifeGrid::random(12, 11, 0.35, 3), 6, &summary);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ('\n', text.back());
    const std::vector<std::string> lines = splitLines(text);
    EXPECT_EQ(summary.lines, static_cast<long long>(lines.size()));

    std::map<std::string, long long> kinds;
    int lastTime = 0;
    for (const std::string& line : lines) {
        const std::vector<std::string> f = fields(line);
        ASSERT_GE(f.size(), 6u) << line;
        EXPECT_EQ("msg", f[0]) << line;
        EXPECT_EQ("to", f[f.size() - 2]) << line;
        const std::string& kind = f[1];
        ++kinds[kind];
        const int time = timeOf(f[2]);
        EXPECT_EQ(0, time % 100) << line;
        EXPECT_GE(time, lastTime) << line;
        lastTime = time;

        const bool message = kind == "X" || kind == "Y";
        EXPECT_EQ(message, f.size() == 8u) << line;
        if (kind == "I" || kind == "*") {
            EXPECT_EQ(6u, f.size()) << line;
        } else if (kind == "D") {
            EXPECT_EQ(7u, f.size()) << line;
            EXPECT_TRUE(f[4] == "..." || f[4] == "00:00:00:100") << line;
        } else {
            ASSERT_TRUE(message) << line;
        }
        if (!message) {
            continue;
        }
        // The value stands right-aligned in a 12-character field after "/ ".
        const size_t slash = line.rfind("/ ");
        const size_t to = line.rfind(" to ");
        ASSERT_NE(std::string::npos, slash);
        ASSERT_NE(std::string::npos, to);
        const std::string value = line.substr(slash + 2, to - slash - 2);
        EXPECT_TRUE(value == "     1.00000" || value == "     0.00000") << line;
        if (kind == "Y") {
            EXPECT_LE(0, parseCell(f[3]).x) << line;
            EXPECT_EQ("out", f[4]) << line;
            EXPECT_EQ("life(02)", f[7]) << line;
        } else {
            EXPECT_EQ("life(02)", f[3]) << line;
            EXPECT_EQ("neighborchange", f[4]) << line;
            EXPECT_LE(0, parseCell(f[7]).x) << line;
        }
    }
    EXPECT_EQ(summary.externalMessages, kinds["X"]);
    EXPECT_EQ(summary.outputMessages, kinds["Y"]);
    EXPECT_EQ(8 * kinds["Y"], kinds["X"]);
    EXPECT_EQ(2, kinds["I"]);
    EXPECT_EQ(2 * summary.generations, kinds["*"]);
    EXPECT_EQ(6, summary.generations);
    EXPECT_EQ(600, lastTime);
}

TEST(LifeLogTest, TheSameOptionsWriteTheSameBytes) {
    LifeLogOptions options;
    options.width = 15;
    options.height = 9;
    options.generations = 7;
    options.seed = 1234;
    options.density = 0.4;
    const std::string first = logOf(options);
    EXPECT_EQ(first, logOf(options));
    options.seed = 1235;
    EXPECT_NE(first, logOf(options));
}

// Replays the Y lines onto a dead board, one generation (time) at a time, and checks each X line against the
// cell that caused it.
std::vector<LifeGrid> replay(const std::string& text, int width, int height) {
    std::vector<LifeGrid> generations;
    LifeGrid board(width, height);
    int currentTime = -1;
    std::map<std::string, int> expectedX;  // "destination value" -> count still expected
    auto closeGeneration = [&]() {
        if (currentTime > 0) {
            generations.push_back(board);
            for (const auto& [key, count] : expectedX) {
                EXPECT_EQ(0, count) << "at " << currentTime << ": " << key;
            }
        }
        expectedX.clear();
    };
    for (const std::string& line : splitLines(text)) {
        const std::vector<std::string> f = fields(line);
        if (f.size() != 8) {
            continue;
        }
        const int time = timeOf(f[2]);
        if (time != currentTime) {
            closeGeneration();
            currentTime = time;
            EXPECT_EQ(static_cast<int>(generations.size() + 1) * 100, time);
        }
        if (f[1] == "Y") {
            const Cell cell = parseCell(f[3]);
            EXPECT_EQ(3 + cell.x * height + cell.y, cell.id) << line;
            const bool alive = std::stod(f[5]) == 1.0;
            EXPECT_NE(alive, board.alive(cell.x, cell.y))
                << "a Y line for a cell that did not change: " << line;
            board.set(cell.x, cell.y, alive);
            for (int dx = -1; dx <= 1; ++dx) {
                for (int dy = -1; dy <= 1; ++dy) {
                    if (dx != 0 || dy != 0) {
                        const int nx = (cell.x + dx + width) % width;
                        const int ny = (cell.y + dy + height) % height;
                        ++expectedX[lifeCellReference(nx, ny, height) + " " + f[5]];
                    }
                }
            }
        } else {
            --expectedX[f[7] + " " + f[5]];
        }
    }
    closeGeneration();
    return generations;
}

TEST(LifeLogTest, TheMessagesOfARunReplayItsEvolution) {
    const LifeGrid start = LifeGrid::random(13, 10, 0.35, 99);
    const std::vector<LifeGrid> replayed = replay(logOf(start, 12), 13, 10);
    ASSERT_EQ(12u, replayed.size());
    LifeGrid expected = start;
    for (const LifeGrid& generation : replayed) {
        EXPECT_EQ(expected, generation);
        expected = expected.step();
    }
}

TEST(LifeLogTest, AGliderRunReplaysAndTheRunStopsWhenNothingChanges) {
    LifeGrid glider(6, 6);
    for (const auto& [x, y] : {std::pair{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}) {
        glider.set(x, y, true);
    }
    const std::vector<LifeGrid> replayed = replay(logOf(glider, 5), 6, 6);
    ASSERT_EQ(5u, replayed.size());
    EXPECT_EQ(glider, replayed[0]);
    EXPECT_EQ(glider.step().step().step().step(), replayed[4]);

    // A block: the first generation brings it to life, then the model is passive.
    LifeGrid block(5, 5);
    block.set(1, 1, true);
    block.set(1, 2, true);
    block.set(2, 1, true);
    block.set(2, 2, true);
    LifeLogSummary summary;
    const std::vector<std::string> lines = splitLines(logOf(block, 10, &summary));
    EXPECT_EQ(1, summary.generations);
    EXPECT_EQ(4, summary.outputMessages);
    EXPECT_EQ("msg D / 00:00:00:100 / top(01) / ... to Root(00)", lines.back());

    // An empty board: only the start, passive at once.
    const std::vector<std::string> empty = splitLines(logOf(LifeGrid(4, 4), 3));
    EXPECT_EQ((std::vector<std::string>{"msg I / 00:00:00:000 / Root(00) to top(01)",
                                        "msg I / 00:00:00:000 / top(01) to life(02)",
                                        "msg D / 00:00:00:000 / life(02) / ... to top(01)",
                                        "msg D / 00:00:00:000 / top(01) / ... to Root(00)"}),
              empty);
}

TEST(LifeLogTest, RunsThatCannotBeWrittenWriteNothing) {
    std::ostringstream out;
    LifeLogWriter writer(out);
    EXPECT_FALSE(writer.write(LifeGrid(2, 5), 3));  // neighbours would repeat on the torus
    EXPECT_FALSE(writer.write(LifeGrid(5, 5), 0));
    EXPECT_EQ("", out.str());

    LifeLogOptions options;
    options.density = 1.5;
    EXPECT_FALSE(writeLifeLog(options, out));
    options.density = std::nan("");
    EXPECT_FALSE(writeLifeLog(options, out));
    options.density = 0.3;
    options.width = 5000;
    options.height = 5000;
    EXPECT_FALSE(writeLifeLog(options, out));
    EXPECT_EQ("", out.str());

    // A stream that fails is reported.
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    EXPECT_FALSE(writeLifeLog(LifeLogOptions(), broken));
}

// The shipped sample is what its documented command writes (samples/README.md).
TEST(LifeLogTest, TheShippedSampleMatchesItsCommand) {
    std::ifstream in(std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log", std::ios::binary);
    ASSERT_TRUE(in.good());
    std::ostringstream shipped;
    shipped << in.rdbuf();
    LifeLogOptions options;
    options.width = 20;
    options.height = 20;
    options.generations = 5;
    options.seed = 8;
    options.density = 0.3;
    EXPECT_TRUE(logOf(options) == shipped.str()) << "samples/life_20x20.log is out of date";
}

bool parse(std::vector<const char*> args, LifeLogCommand& command, std::string& error) {
    args.insert(args.begin(), "lifelog");
    return parseLifeLogArguments(static_cast<int>(args.size()), args.data(), command, error);
}

TEST(LifeLogTest, CommandLineReadsEveryOptionAndRefusesBadValues) {
    LifeLogCommand command;
    std::string error;
    ASSERT_TRUE(parse({"--width", "30", "--height=12", "--generations", "4", "--seed", "18446744073709551615",
                       "--density", "0.25", "--output", "out.log"},
                      command, error))
        << error;
    EXPECT_EQ(30, command.options.width);
    EXPECT_EQ(12, command.options.height);
    EXPECT_EQ(4, command.options.generations);
    EXPECT_EQ(18446744073709551615ull, command.options.seed);
    EXPECT_EQ(0.25, command.options.density);
    EXPECT_EQ("out.log", command.output);
    EXPECT_FALSE(command.help);

    const std::vector<std::vector<const char*>> refused = {
        {"--width", "12x"}, {"--width", ""},        {"--width", "99999999999"},
        {"--seed", "-1"},   {"--density", "a"},     {"--density", "1.5"},
        {"--width", "2"},   {"--generations", "0"}, {"--colour", "3"},
        {"--width"},        {"--output="},
    };
    for (const auto& args : refused) {
        LifeLogCommand fresh;
        error.clear();
        EXPECT_FALSE(parse(args, fresh, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }

    LifeLogCommand help;
    EXPECT_TRUE(parse({"--help"}, help, error));
    EXPECT_TRUE(help.help);
}

}  // namespace
