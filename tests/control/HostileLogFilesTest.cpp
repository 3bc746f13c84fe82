// Files no simulator writes, each through the whole import: the import ends, keeps what the file does hold,
// reports what it refuses, and takes memory and time in proportion to what it keeps, not to the file.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "control/VCSimulation.h"
#include "loader/SLLogFile.h"
#include "loader/SLRunReader.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/MemoryUsage.h"
#include "tests/support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;
// The line that follows a file of no known format's failure.
const std::string kTried = "Formats tried: " + runFormatsTried();
using Clock = std::chrono::steady_clock;

const std::string kMessage = "msg Y / 00:00:00:100 / a(1) / out / 1 to b(2)";

std::string passOver(long long line, const std::string& path) {
    return "Passing over line " + std::to_string(line) + " of log file, longer than " +
           std::to_string(SLLogFile::kMaxLineLength) + " characters: " + path;
}

// Writes `head`, then `chunk` `times` times, then `tail`, without ever holding the whole file.
std::string writeFile(const std::string& path, const std::string& head, const std::string& chunk,
                      size_t times, const std::string& tail) {
    FILE* out = std::fopen(path.c_str(), "wb");
    EXPECT_NE(nullptr, out);
    if (out == nullptr) {
        return path;
    }
    std::fwrite(head.data(), 1, head.size(), out);
    for (size_t i = 0; i < times; ++i) {
        std::fwrite(chunk.data(), 1, chunk.size(), out);
    }
    std::fwrite(tail.data(), 1, tail.size(), out);
    std::fclose(out);
    return path;
}

class HostileLogFilesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(simulation.newVisualization("hostile")); }

    // Imports and notes how much the peak resident memory rose above the resident memory before, in KiB
    // (-1 when the kernel does not tell), and how long it took.
    bool import(const std::string& path) {
        rec.clear();
        const bool peakKnown = resetPeakResident();
        const long before = residentKiB();
        const Clock::time_point start = Clock::now();
        const bool imported = simulation.importLogFile(path);
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
        growthKiB = peakKnown && before >= 0 ? peakResidentKiB() - before : -1;
        return imported;
    }
    void expectPeakGrowthBelowMiB(long mib) {
        if (growthKiB >= 0) {
            EXPECT_LT(growthKiB, mib * 1024) << "peak resident growth in KiB";
        }
    }

    SDEventList::Events events() const { return getVisualization()->getEventList()->getEvents(); }
    SDDevsModelList& models() const { return *getVisualization()->getModelList(); }
    SDEvent event(size_t index) const { return getVisualization()->getEventList()->eventAt(index); }

    LogRecorder rec;
    TempDir dir;
    VCSimulation simulation;
    long growthKiB = -1;
    double seconds = 0.0;
};

TEST_F(HostileLogFilesTest, AFiftyMegabyteLineIsPassedOverWithoutBeingHeld) {
    // Message text without a line feed: as one line it has far more than eight fields.
    std::string chunk;
    while (chunk.size() < (size_t{1} << 20)) {
        chunk += kMessage + " ";
    }
    const std::string path = writeFile(dir.file("one_line.log"), "", chunk, 50, "");
    ASSERT_FALSE(import(path));
    EXPECT_EQ((Lines{passOver(0, path), path + " holds no simulation messages", kTried}), rec.lines());
    EXPECT_TRUE(events().empty());
    EXPECT_EQ(0u, models().size());
    expectPeakGrowthBelowMiB(16);
    EXPECT_LT(seconds, 20.0);
}

TEST_F(HostileLogFilesTest, OnlyLinesLongerThanTheLimitArePassedOverAndReadingGoesOnAfterThem) {
    const size_t limit = SLLogFile::kMaxLineLength;
    // A line of exactly the limit (before its "\r\n") is read; one character more is not.
    const std::string content =
        "msg X / 00:00:00:001 / s(1) / first / 1 to d(2)\n" + std::string(3 * limit, 'z') + "\r\n" +
        "msg X / 00:00:00:002 / s(1) / second / 1 to d(2)\n" + std::string(limit, 'q') + "\r\n" +
        std::string(limit + 1, 'q') + "\n" + "msg X / 00:00:00:003 / s(1) / third / 1 to d(2)";
    const std::string path = dir.write("long_lines.log", content);
    ASSERT_TRUE(import(path));
    EXPECT_EQ(1u, rec.count(passOver(1, path)));
    EXPECT_EQ(1u, rec.count(passOver(4, path)));
    EXPECT_EQ(0u, rec.count(passOver(3, path)));
    ASSERT_EQ(3u, events().size());
    EXPECT_EQ("first", event(0).getPort());
    EXPECT_EQ("second", event(1).getPort());
    EXPECT_EQ("third", event(2).getPort());
    EXPECT_EQ((Lines{"first", "second", "third"}), models().findModel("d")->getInputPorts());
}

TEST_F(HostileLogFilesTest, FilesOfNulBytesAddNothing) {
    // Short enough to be one (empty) line; too long to be one; cut into lines.
    // None holds a message: each import fails with that one line.
    const std::string shortNuls = writeFile(dir.file("nul_short.log"), "", std::string(4096, '\0'), 128, "");
    ASSERT_FALSE(import(shortNuls));
    EXPECT_EQ((Lines{shortNuls + " holds no simulation messages", kTried}), rec.lines());

    const std::string longNuls = writeFile(dir.file("nul_long.log"), "", std::string(4096, '\0'), 1024, "");
    ASSERT_FALSE(import(longNuls));
    EXPECT_EQ((Lines{passOver(0, longNuls), longNuls + " holds no simulation messages", kTried}),
              rec.lines());

    const std::string lines =
        writeFile(dir.file("nul_lines.log"), "", std::string(99, '\0') + "\n", 20000, "");
    ASSERT_FALSE(import(lines));
    EXPECT_EQ((Lines{lines + " holds no simulation messages", kTried}), rec.lines());

    EXPECT_TRUE(events().empty());
    EXPECT_EQ(0u, models().size());
}

TEST_F(HostileLogFilesTest, AMillionEmptyLinesAreReadInProportionalTime) {
    const std::string path =
        writeFile(dir.file("empty_lines.log"), "", std::string(1000, '\n'), 1000, kMessage);
    ASSERT_TRUE(import(path));
    ASSERT_EQ(1u, events().size());
    EXPECT_EQ("a", event(0).getSource());
    // Blank lines pass silently; only the one message is reported.
    EXPECT_EQ(1u, rec.count("Adding event"));
    EXPECT_EQ(1u, rec.count(kMessage));
    EXPECT_EQ(0u, rec.count(passOver(1000000, path)));
    expectPeakGrowthBelowMiB(8);
    EXPECT_LT(seconds, 20.0);
}

TEST_F(HostileLogFilesTest, ExtremeCellReferencesAreRefusedWithOneLineAndTheirMessagesKept) {
    const std::string path =
        dir.write("cells.log",
                  "msg Y / 00:00:00:100 / life(2147483647,2147483647)(1) / out / 1 to life(02)\n"
                  "msg X / 00:00:00:100 / life(02) / neighborchange / 1 to life(-1,-1)(1)\n"
                  "msg X / 00:00:00:100 / life(02) / neighborchange / 1 to life(99999999999,0,0)(1)\n"
                  "msg Y / 00:00:00:200 / life(3,4)(5) / out / 0 to life(02)\n");
    ASSERT_TRUE(import(path));
    EXPECT_EQ(
        1u, rec.count("Refused cell (2147483647,2147483647,0) of CELL model life: more than 16777216 cells"));
    EXPECT_EQ(1u, rec.count("Refused cell (-1,-1,0) of CELL model life: negative coordinates"));
    EXPECT_EQ(1u, rec.count("Refused cell (2147483647,0,0) of CELL model life: more than 16777216 cells"));

    ASSERT_EQ(4u, events().size());
    EXPECT_EQ("life(2147483647,2147483647)", event(0).getSource());
    EXPECT_EQ("life(-1,-1)", event(1).getDestination());
    // One record, grown only by the cell it could hold, with the ports of every message.
    ASSERT_EQ(1u, models().size());
    auto* life = dynamic_cast<SDCELLDevsModel*>(models().findModel("life"));
    ASSERT_NE(nullptr, life);
    EXPECT_EQ(4u, life->getWidth());
    EXPECT_EQ(5u, life->getHeight());
    EXPECT_EQ(1u, life->getLength());
    EXPECT_EQ((Lines{"neighborchange"}), life->getInputPorts());
    EXPECT_EQ((Lines{"out"}), life->getOutputPorts());
    expectPeakGrowthBelowMiB(8);
}

TEST_F(HostileLogFilesTest, ExtremeTimesAndValuesAreKeptInOrder) {
    const std::string path = dir.write("numbers.log",
                                       "msg X / 99999:99999:99999:99999 / a(1) / p / nan to b(2)\n"
                                       "msg X / 99999999999:0:0:0 / a(1) / p / inf to b(2)\n"
                                       "msg X / -99999999999:0:0:-1 / a(1) / p / 1e999 to b(2)\n"
                                       "msg X / 0:0:0:5 / a(1) / p / -1e999 to b(2)\n"
                                       "msg X / 0:0:0:5 / a(1) / p / 4.9e-324 to b(2)\n");
    ASSERT_TRUE(import(path));
    ASSERT_EQ(5u, events().size());
    const double hour = 3600000.0;
    // Each component saturates at the int range; the sum is exact.
    EXPECT_EQ(-2147483648.0 * hour - 1.0, event(0).getTime().getMilliseconds());
    EXPECT_EQ(5.0, event(1).getTime().getMilliseconds());
    EXPECT_EQ(5.0, event(2).getTime().getMilliseconds());
    EXPECT_EQ(99999.0 * hour + 99999.0 * 60000 + 99999.0 * 1000 + 99999.0,
              event(3).getTime().getMilliseconds());
    EXPECT_EQ(2147483647.0 * hour, event(4).getTime().getMilliseconds());

    EXPECT_TRUE(std::isinf(event(0).getValue()) && event(0).getValue() > 0);  // 1e999 overflows
    EXPECT_TRUE(std::isinf(event(1).getValue()) && event(1).getValue() < 0);  // equal times keep their order
    EXPECT_EQ(4.9e-324, event(2).getValue());
    EXPECT_TRUE(std::isnan(event(3).getValue()));
    EXPECT_TRUE(std::isinf(event(4).getValue()));

    // The list prints whatever it holds; a time beyond the int range of hours shows as the last one.
    rec.clear();
    getVisualization()->getEventList()->printAll();
    ASSERT_EQ(5u, rec.lines().size());
    EXPECT_NE(std::string::npos, rec.lines()[3].find(";Value: nan;")) << rec.lines()[3];
    EXPECT_NE(std::string::npos, rec.lines()[4].find("Time: 2147483647:00:00:000;Src: a;Port: p;Value: inf;"))
        << rec.lines()[4];
}

TEST_F(HostileLogFilesTest, WhatCannotBeOpenedLeavesTheVisualizationAsItWas) {
    ASSERT_TRUE(import(dir.write("good.log", kMessage + "\n")));
    ASSERT_EQ(1u, events().size());
    const std::string fifo = dir.file("fifo.log");
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    ::mkdir(dir.file("directory.log").c_str(), 0700);
    // A FIFO without a writer would block the open forever.
    for (const std::string& path : {dir.file("missing.log"), dir.file("directory.log"), fifo,
                                    std::string("/dev/null"), std::string("/dev/zero"), std::string()}) {
        EXPECT_FALSE(import(path)) << path;
        EXPECT_EQ((Lines{"Unable to open log file for import"}), rec.lines()) << path;
    }
    EXPECT_EQ(1u, events().size());
    EXPECT_EQ(2u, models().size());
}

}  // namespace
