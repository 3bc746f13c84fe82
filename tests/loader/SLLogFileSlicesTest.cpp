// Reading a log a few lines at a time: the same lines as one load, progress by bytes, failures as load's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loader/SLLogFile.h"
#include "tests/loader/RecordingSink.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;
using Step = SLLogFile::Step;

// Keeps every line it is handed and fails on the line given.
class LineCollector : public SLLogFile {
  public:
    explicit LineCollector(const std::string& path, int failAt = -1)
        : SLLogFile(nullptr, path), m_failAt(failAt) {}
    bool parseLine(const char* line) override {
        lines.emplace_back(line);
        return static_cast<int>(lines.size()) - 1 != m_failAt;
    }
    Lines lines;

  private:
    int m_failAt;
};

// Line ends of every kind, a last line without one, a line longer than the reader's blocks and one longer
// than any line that is handed on: 304 lines are handed on.
std::string awkwardContent() {
    std::string content = "msg X / 00:00:00:100 / a(1) / p / 1 to b(2)\r\n\n";
    for (int i = 0; i < 300; ++i) {
        content += "msg Y / 00:00:00:" + std::to_string(i) + " / life(" + std::to_string(i % 7) +
                   ",1)(9) / out / " + std::to_string(i) + " to life(02)\n";
    }
    content += std::string(300000, 'w') + "\n";
    content += std::string(SLLogFile::kMaxLineLength + 10, 'z') + "\n";
    content += "last line without a line feed";
    return content;
}

TEST(SLLogFileSlicesTest, SlicesOfAnySizeHandTheSameLinesAsOneLoad) {
    LogRecorder rec;
    TempDir dir;
    const std::string path = dir.write("awkward.log", awkwardContent());
    LineCollector whole(path);
    ASSERT_TRUE(whole.load());
    const Lines wholeLog = rec.lines();
    ASSERT_EQ(304u, whole.lines.size());

    for (size_t slice : {size_t{1}, size_t{2}, size_t{7}, size_t{64}}) {
        rec.clear();
        LineCollector sliced(path);
        ASSERT_TRUE(sliced.open());
        Step step = Step::More;
        int slices = 0;
        while (step == Step::More) {
            const long long before = sliced.linesRead();
            step = sliced.readLines(slice);
            EXPECT_LE(sliced.linesRead() - before, static_cast<long long>(slice));
            ++slices;
        }
        EXPECT_EQ(Step::Done, step) << slice;
        EXPECT_EQ(whole.lines, sliced.lines) << slice;
        EXPECT_EQ(wholeLog, rec.lines()) << "the over-long line is passed over once, as by load";
        EXPECT_GE(slices, static_cast<int>(304 / slice)) << slice;
        EXPECT_EQ(Step::Done, sliced.readLines(slice)) << "reading on after the end reads nothing";
        EXPECT_EQ(304u, sliced.lines.size());
    }
}

TEST(SLLogFileSlicesTest, ProgressCountsTheBytesOfTheLinesHandled) {
    TempDir dir;
    const Lines lines{"first line", "", "third\r", "the fourth and last"};
    std::string content;
    for (const std::string& line : lines) {
        content += line + "\n";
    }
    LineCollector loader(dir.write("four.log", content));
    ASSERT_TRUE(loader.open());
    EXPECT_EQ(content.size(), loader.fileSize());
    EXPECT_EQ(0u, loader.bytesRead());
    size_t expected = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        loader.readLines(1);
        expected += lines[i].size() + 1;
        EXPECT_EQ(static_cast<long long>(i + 1), loader.linesRead());
        EXPECT_EQ(expected, loader.bytesRead()) << i;
    }
    EXPECT_EQ(Step::Done, loader.readLines(1));
    EXPECT_EQ(content.size(), loader.bytesRead());
}

TEST(SLLogFileSlicesTest, FailuresEndTheSlicesAsTheyEndALoad) {
    LogRecorder rec;
    TempDir dir;
    const std::string path = dir.write("fail.log", "a\nb\nc\nd\ne\n");
    LineCollector failing(path, 3);
    ASSERT_TRUE(failing.open());
    EXPECT_EQ(Step::More, failing.readLines(2));
    EXPECT_EQ(Step::Failed, failing.readLines(2));
    EXPECT_EQ((Lines{"a", "b", "c", "d"}), failing.lines);
    EXPECT_EQ("Unable to parse line 3 of log file: " + path, failing.getFailure());
    EXPECT_EQ(Step::Failed, failing.readLines(2)) << "and stays failed";
    EXPECT_EQ(4u, failing.lines.size());

    rec.clear();
    LineCollector missing(dir.file("missing.log"));
    EXPECT_FALSE(missing.open());
    EXPECT_EQ((Lines{"Unable to open log file for import"}), rec.lines());
    EXPECT_EQ(Step::Failed, missing.readLines(10));
    EXPECT_EQ(0u, missing.bytesRead());
}

// A log of several blocks read ahead on the reader's thread: the sink gets what it gets when each line is
// handed to parseLine by itself, whatever the slices; a loader dropped or opened again while its reader is
// ahead stops it.
TEST(SLLogFileSlicesTest, LinesReadAheadGiveWhatEachLineGivesByItself) {
    LogRecorder rec;
    TempDir dir;
    std::vector<std::string> lines;
    std::string content;
    for (int i = 0; i < 12000; ++i) {  // about 1 MB: blocks of 256 KiB, batches of a thousand lines
        const std::string cell =
            "life(" + std::to_string(i % 97) + "," + std::to_string(i % 13) + ")(" + std::to_string(i) + ")";
        lines.push_back(
            i % 5 == 4 ? "msg D / 00:00:01:000 / " + cell + " / ... to life(02)"
                       : "msg " + std::string(i % 2 == 0 ? "Y" : "X") +
                             " / 00:00:" + std::to_string(i / 1000) + ":" + std::to_string(i % 1000) + " / " +
                             (i % 2 == 0 ? cell : "top(01)") + " / port" + std::to_string(i % 3) + " / " +
                             std::to_string(i * 0.25) + " to " + (i % 2 == 0 ? "life(02)" : cell));
        content += lines.back() + (i % 7 == 0 ? "\r\n" : "\n");
    }
    const std::string path = dir.write("big.log", content);

    RecordingSink oneByOne;
    SLLogFile alone(&oneByOne, path);
    for (const std::string& line : lines) {
        alone.parseLine(line.c_str());
    }
    const auto describe = [](const RecordingSink& sink) {
        std::vector<std::string> out = sink.offers;
        for (const auto& event : sink.events) {
            out.push_back(event->getSource() + " " + event->getPort() + " " + event->getDestination() + " " +
                          std::to_string(event->getTime().getMilliseconds()) + " " +
                          std::to_string(event->getValue()));
        }
        return out;
    };
    ASSERT_EQ(9600u, oneByOne.events.size()) << "every line but the D lines is an event";

    for (size_t slice : {size_t{1000}, size_t{4096}}) {
        RecordingSink ahead;
        SLLogFile loader(&ahead, path);
        ASSERT_TRUE(loader.open());
        while (loader.readLines(slice) == SLLogFile::Step::More) {
        }
        EXPECT_EQ(12000, loader.linesRead()) << slice;
        EXPECT_EQ(content.size(), loader.bytesRead()) << slice;
        EXPECT_EQ(describe(oneByOne), describe(ahead)) << slice;
    }

    for (int reopened = 0; reopened < 2; ++reopened) {
        RecordingSink sink;
        SLLogFile loader(&sink, path);
        ASSERT_TRUE(loader.open());
        EXPECT_EQ(SLLogFile::Step::More, loader.readLines(10));
        if (reopened == 1) {
            ASSERT_TRUE(loader.open());
            EXPECT_EQ(0, loader.linesRead());
            EXPECT_TRUE(loader.load());
            EXPECT_EQ(12000, loader.linesRead());
        }
    }  // the reader of the first is still ahead when it goes
}

}  // namespace
