#include "shell/Log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "shell/ConsoleChannel.h"
#include "shell/EngineVariables.h"
#include "shell/LogFile.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

// Each test works in a fresh directory, with the log path resolved there and both channels off to start.
class LogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        logdetail::forgetLogFile();
        getEngineVariables()->removeVariable("file_logging");
        getEngineVariables()->removeVariable("console_logging");
    }
    void TearDown() override {
        setConsoleSink(nullptr);
        logdetail::forgetLogFile();
    }
    // What the file holds once the held lines are written, as when a GLUT callback returns.
    std::string logContent() const {
        flushLog();
        return onDisk();
    }
    std::string onDisk() const { return readFile(dir.file("log.txt")); }
    void fileOn(bool on = true) { getEngineVariables()->setBool("file_logging", on); }

    TempDir dir{true};
};

TEST_F(LogTest, ResetTruncatesAndTheFileHoldsExactlyTheLinesLoggedSince) {
    dir.write("log.txt", "from an earlier run\n");
    resetLog();
    EXPECT_EQ("", logContent());
    fileOn();
    logMessage("Startup successful...");
    logMessage("value %d and %s", 42, "text");
    EXPECT_EQ("Startup successful...\nvalue 42 and text\n", logContent());

    // A second run starts with an empty file again.
    resetLog();
    EXPECT_EQ("", logContent());
    logMessage("again");
    EXPECT_EQ("again\n", logContent());
}

TEST_F(LogTest, ThePathIsResolvedOnceAndSurvivesADirectoryChange) {
    resetLog();
    fileOn();
    std::string resolved = logFilePath();
    EXPECT_EQ(std::filesystem::path(dir.path()) / "log.txt", std::filesystem::path(resolved));
    TempDir elsewhere(true);
    logMessage("still here");
    EXPECT_EQ("still here\n", logContent());
    EXPECT_FALSE(std::filesystem::exists(elsewhere.file("log.txt")));
}

TEST_F(LogTest, FileChannelFollowsItsSwitchAndAnAbsentSwitchIsOff) {
    resetLog();
    logMessage("absent switch");
    fileOn(false);
    logMessage("switched off");
    getEngineVariables()->setString("file_logging", "True");
    logMessage("not the exact word");
    EXPECT_EQ("", logContent());
    fileOn(true);
    logMessage("on");
    EXPECT_EQ("on\n", logContent());
}

TEST_F(LogTest, AnyLengthIsWrittenWhole) {
    resetLog();
    fileOn();
    std::string longText(100000, 'x');
    longText += "end";
    logMessage("%s", longText.c_str());
    logText(longText);
    EXPECT_EQ(longText + "\n" + longText + "\n", logContent());
}

TEST_F(LogTest, LeadingNewlineMakesAnEmptyLineBefore) {
    resetLog();
    fileOn();
    logMessage("\nTitle");
    EXPECT_EQ("\nTitle\n", logContent());
}

TEST_F(LogTest, TextIsNotReadAsAFormat) {
    resetLog();
    fileOn();
    logText("100% %s %d");
    EXPECT_EQ("100% %s %d\n", logContent());
}

TEST_F(LogTest, PointerIsWrittenAsTheFullSignedDecimal) {
    resetLog();
    fileOn();
    int object = 0;
    auto address = static_cast<long long>(reinterpret_cast<intptr_t>(&object));
    logMessage("Disposing object with pointer %lld", address);
    EXPECT_EQ("Disposing object with pointer " + std::to_string(address) + "\n", logContent());
}

TEST_F(LogTest, ConsoleChannelNeedsItsSwitchAndAConsole) {
    resetLog();
    fileOn();
    getEngineVariables()->setBool("console_logging", true);
    // No console yet: the message reaches the file only.
    logMessage("file only");
    EXPECT_EQ("file only\n", logContent());

    LogRecorder recorder;  // a console that records what it is given
    getEngineVariables()->setBool("file_logging", true);
    logMessage("both %d", 2);
    EXPECT_EQ((std::vector<std::string>{"both 2"}), recorder.lines());
    EXPECT_EQ("file only\nboth 2\n", logContent());

    getEngineVariables()->setBool("console_logging", false);
    logMessage("file again");
    EXPECT_EQ((std::vector<std::string>{"both 2"}), recorder.lines());

    // A reply the console shows itself goes to the file alone, and only while the file channel is on.
    getEngineVariables()->setBool("console_logging", true);
    logFileText("reply %d");
    EXPECT_EQ((std::vector<std::string>{"both 2"}), recorder.lines());
    getEngineVariables()->setBool("file_logging", false);
    logFileText("not kept");
    EXPECT_EQ("file only\nboth 2\nfile again\nreply %d\n", logContent());
}

TEST_F(LogTest, ConsoleStillGetsMessagesWhenTheFileCannotBeOpened) {
    if (::geteuid() == 0) {
        // root may write anywhere; make the log path a directory instead, which nobody can open as a file
        std::filesystem::create_directory(dir.file("log.txt"));
    } else {
        ::chmod(dir.path().c_str(), 0500);
    }
    resetLog();
    LogRecorder recorder;
    getEngineVariables()->setBool("file_logging", true);
    logMessage("read-only start");
    logMessage("second");
    ::chmod(dir.path().c_str(), 0700);
    EXPECT_EQ((std::vector<std::string>{"read-only start", "second"}), recorder.lines());
}

TEST_F(LogTest, AMessageLoggedFromInsideTheConsoleIsDeliveredWhole) {
    static int depth = 0;
    static std::vector<std::string> seen;
    seen.clear();
    setConsoleSink([](const std::string& line) {
        seen.push_back(line);
        if (depth++ == 0) {
            logMessage("nested %s", "message");
        }
        seen.push_back(line);
    });
    resetLog();
    fileOn();
    getEngineVariables()->setBool("console_logging", true);
    logMessage("outer %d", 1);
    EXPECT_EQ((std::vector<std::string>{"outer 1", "nested message", "nested message", "outer 1"}), seen);
    EXPECT_EQ("outer 1\nnested message\n", logContent());
}

TEST_F(LogTest, LinesAreHeldUntilFlushedThenWrittenInOrderOnce) {
    resetLog();
    fileOn();
    logMessage("first %d", 1);
    logText("second");
    EXPECT_EQ("", onDisk()) << "no write per line";
    EXPECT_EQ(std::string("first 1\nsecond\n").size(), logfile::held());
    flushLog();
    EXPECT_EQ("first 1\nsecond\n", onDisk());
    EXPECT_EQ(0u, logfile::held());
    flushLog();
    logMessage("third");
    EXPECT_EQ("first 1\nsecond\nthird\n", logContent());
}

// A buffer being filled and one being written by the log's thread: memory stays bounded, a long run of
// lines reaches the file without a flush, and the file ends up with every line once, in order.
TEST_F(LogTest, NeverHoldsMoreThanTwoBuffersAndWritesEveryLineOnceInOrder) {
    resetLog();
    fileOn();
    std::string expected;
    const std::string filler(97, 'f');
    for (int i = 0; i < 30000; ++i) {  // about 3 MiB: the writer gets at least two buffers
        logMessage("%d %s", i, filler.c_str());
        expected += std::to_string(i) + " " + filler + "\n";
        ASSERT_LE(logfile::held(), 2 * logfile::kHeldLimit);
    }
    // The second buffer was handed over only once the first was written.
    EXPECT_GE(std::filesystem::file_size(dir.file("log.txt")), logfile::kHeldLimit / 2)
        << "a full buffer is written without waiting for a flush";
    EXPECT_EQ(expected, logContent());
    EXPECT_EQ(0u, logfile::held());
}

// A file that refuses every write (a full disk) loses the lines held for it, in whichever thread the write
// failed, and the program goes on: a file that works again gets the next lines.
TEST_F(LogTest, AFileThatCannotBeWrittenLosesItsLinesAndTheNextFileGetsTheRest) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    resetLog();
    fileOn();
    setLogFilePath("/dev/full");
    const std::string filler(97, 'f');
    for (int i = 0; i < 30000; ++i) {  // about 3 MiB: buffers fail in the log's thread and in this one
        logMessage("%d %s", i, filler.c_str());
    }
    flushLog();
    EXPECT_EQ(0u, logfile::held());
    setLogFilePath(dir.file("log.txt"));
    logMessage("after the full disk");
    EXPECT_EQ("after the full disk\n", logContent());
}

TEST_F(LogTest, ALineLongerThanTheLimitFollowsTheHeldLines) {
    resetLog();
    fileOn();
    logMessage("before");
    const std::string huge(logfile::kHeldLimit + 10, 'h');
    logText(huge);
    EXPECT_EQ("before\n" + huge + "\n", onDisk()) << "written at once, after what was held";
    logMessage("after");
    EXPECT_EQ("before\n" + huge + "\nafter\n", logContent());
}

TEST_F(LogTest, ResetDropsHeldLinesAndForgettingTheFileWritesThem) {
    resetLog();
    fileOn();
    logMessage("from before the reset");
    resetLog();
    EXPECT_EQ("", logContent());

    logMessage("kept");
    logdetail::forgetLogFile();
    EXPECT_EQ("kept\n", onDisk());
}

// Lines held only, and a full buffer just handed to the log's thread with more lines filling the next: the
// handler leaves the file with every line so far, in order, none twice.
TEST_F(LogTest, ASignalHandlerWritesWhatIsHeldAndNothingTwice) {
    for (int lines : {2, 12000}) {
        SCOPED_TRACE(lines);
        resetLog();
        fileOn();
        std::string expected;
        for (int i = 0; i < lines; ++i) {  // 12,000 lines of 100 bytes pass one buffer
            logMessage("held %d %s", i, std::string(90, 'h').c_str());
            expected += "held " + std::to_string(i) + " " + std::string(90, 'h') + "\n";
        }
        flushLogFromSignal();
        EXPECT_EQ(expected, onDisk());
        logMessage("later");
        EXPECT_EQ(expected + "later\n", logContent());
    }
}

TEST_F(LogTest, HeldLinesReachTheFileWhenTheProcessExits) {
    resetLog();
    fileOn();
    flushLog();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        logMessage("said just before exit");
        std::exit(0);
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ("said just before exit\n", onDisk());
}

}  // namespace
