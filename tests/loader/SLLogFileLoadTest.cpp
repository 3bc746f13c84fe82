// Reading whole files: line ends, long lines, odd bytes, files that cannot be read, failing handlers.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loader/SLLogFile.h"
#include "tests/loader/RecordingSink.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kLine = "msg X / 00:00:00:100 / a(1) / p / 1 to b(2)";

std::string messageTo(const std::string& destination) {
    return "msg X / 00:00:00:100 / a(1) / p / 1 to " + destination;
}

// Records every line it is handed instead of reading it, and fails on the line given.
class LineCollector : public SLLogFile {
  public:
    LineCollector(const std::string& path, int failAt = -1) : SLLogFile(nullptr, path), m_failAt(failAt) {}
    bool parseLine(const char* line) override {
        lines.emplace_back(line);
        return static_cast<int>(lines.size()) - 1 != m_failAt;
    }
    Lines lines;

  private:
    int m_failAt;
};

class SLLogFileLoadTest : public ::testing::Test {
  protected:
    Lines linesOf(const std::string& content) {
        LineCollector collector(dir.write("log.log", content));
        EXPECT_TRUE(collector.load());
        return collector.lines;
    }

    LogRecorder rec;
    TempDir dir;
    RecordingSink sink;
};

TEST_F(SLLogFileLoadTest, LineEndsAreNotPartOfTheLine) {
    EXPECT_EQ((Lines{"a", "", "b", "c"}), linesOf("a\n\nb\r\nc\n"));
    EXPECT_EQ((Lines{"a", "b"}), linesOf("a\r\nb"));                  // a last line without a line feed
    EXPECT_EQ((Lines{"a\rb", "c\r\r"}), linesOf("a\rb\nc\r\r\r\n"));  // only the '\r' before '\n' goes
    EXPECT_TRUE(linesOf("").empty());
}

TEST_F(SLLogFileLoadTest, ACrlfFileImportsLikeItsLfTwin) {
    // A '\r' left in the line would make a ninth field of the trailing space's far side.
    const std::string content = kLine + " \r\n" + messageTo("c") + "\r\n";
    SLLogFile loader(&sink, dir.write("crlf.log", content));
    EXPECT_TRUE(loader.load());
    ASSERT_EQ(2u, sink.events.size());
    EXPECT_EQ("c", sink.events[1]->getDestination());
    EXPECT_EQ(1u, rec.count(kLine + " "));
}

TEST_F(SLLogFileLoadTest, LongLinesAreReadWhole) {
    // Longer than the classic 511-character buffer, and longer than the reader's blocks.
    const std::string port(600, 'p');
    const std::string longMessage = "msg Y / 00:00:00:001 / a(1) / " + port + " / 2 to b(2)";
    const std::string huge(300000, 'z');
    std::string content = longMessage + "\n" + huge + "\n" + kLine + "\n" + huge;
    EXPECT_EQ((Lines{longMessage, huge, kLine, huge}), linesOf(content));

    SLLogFile loader(&sink, dir.write("long.log", content));
    EXPECT_TRUE(loader.load());
    ASSERT_EQ(2u, sink.events.size());
    EXPECT_EQ(port, sink.events[0]->getPort());
    EXPECT_EQ(2.0, sink.events[0]->getValue());
}

TEST_F(SLLogFileLoadTest, ManyLinesAcrossBlockBoundaries) {
    std::string content;
    for (int i = 0; i < 5000; ++i) {
        content += "msg Y / 00:00:00:" + std::to_string(i % 1000) + " / life(" + std::to_string(i % 70) +
                   ",3)(9) / out / " + std::to_string(i) + " to life(02)\n";
    }
    SLLogFile loader(&sink, dir.write("many.log", content));
    EXPECT_TRUE(loader.load());
    ASSERT_EQ(5000u, sink.events.size());
    for (int i = 0; i < 5000; i += 499) {
        EXPECT_EQ(static_cast<double>(i), sink.events[static_cast<size_t>(i)]->getValue());
    }
}

TEST_F(SLLogFileLoadTest, BinaryBytesAndNulsDoNotStopTheImport) {
    std::string content = kLine + "\n";
    const char cutByNul[] = "msg X / 0:0:0:1 / a(1) / p / 1 to\0 b(2)\n";  // 7 fields before the NUL
    content.append(cutByNul, sizeof cutByNul - 1);
    for (int i = 0; i < 4096; ++i) {
        content += static_cast<char>((i * 131 + 7) % 256);
    }
    content += "\n" + kLine;
    SLLogFile loader(&sink, dir.write("binary.log", content));
    EXPECT_TRUE(loader.load());
    EXPECT_EQ(2u, sink.events.size());
}

TEST_F(SLLogFileLoadTest, WhatCannotBeOpenedIsReportedAndNothingIsAdded) {
    const std::string missing = dir.file("missing.log");
    mkdir(dir.file("sub.log").c_str(), 0755);
    for (const std::string& path : {missing, dir.file("sub.log"), std::string("/dev/zero"), std::string()}) {
        rec.clear();
        SLLogFile loader(&sink, path);
        EXPECT_FALSE(loader.load()) << path;
        EXPECT_EQ((Lines{"Unable to open log file for import"}), rec.lines()) << path;
    }
    EXPECT_TRUE(sink.offers.empty());
}

TEST_F(SLLogFileLoadTest, AnUnreadableFileIsReported) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads any file";
    }
    const std::string path = dir.write("locked.log", kLine + "\n");
    ::chmod(path.c_str(), 0);
    SLLogFile loader(&sink, path);
    EXPECT_FALSE(loader.load());
    EXPECT_EQ((Lines{"Unable to open log file for import"}), rec.lines());
}

TEST_F(SLLogFileLoadTest, AFailingLineHandlerNamesItsLineAndStops) {
    const std::string path = dir.write("fail.log", "first\r\n\nthird\nfourth\n");
    LineCollector atFirst(path, 0);
    EXPECT_FALSE(atFirst.load());
    EXPECT_EQ((Lines{"first"}), atFirst.lines);
    EXPECT_EQ((Lines{"Unable to parse line 0 of log file: " + path}), rec.lines());

    rec.clear();
    LineCollector atThird(path, 2);
    EXPECT_FALSE(atThird.load());
    EXPECT_EQ((Lines{"first", "", "third"}), atThird.lines);
    EXPECT_EQ((Lines{"Unable to parse line 2 of log file: " + path}), rec.lines());
}

TEST_F(SLLogFileLoadTest, AFileNameIsNeverReadAsAFormat) {
    const std::string path = dir.write("%s%n.log", "x\n");
    LineCollector collector(path, 0);
    EXPECT_FALSE(collector.load());
    EXPECT_EQ((Lines{"Unable to parse line 0 of log file: " + path}), rec.lines());
}

}  // namespace
