// vis_snapshot typed into a real console: what the console shows and what reaches the log file.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "console/VDDEVSConsoleParser.h"
#include "console/VDSnapshotCommand.h"
#include "gui/VDConsole.h"
#include "shell/EngineVariables.h"
#include "shell/Log.h"
#include "shell/VDGarbageCan.h"
#include "tests/gui/ConsoleFakes.h"
#include "tests/support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;

std::vector<std::string> g_written;  // the paths the stand-in writer was given

bool writeAt640x480(const std::string& path, bool wholeWindow, int& width, int& height, std::string&) {
    g_written.push_back(wholeWindow ? "window " + path : path);
    width = 640;
    height = 480;
    return true;
}

class SnapshotCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        logdetail::forgetLogFile();
        resetLog();
        getEngineVariables()->setBool("file_logging", true);
        getEngineVariables()->setBool("console_logging", true);
        createGarbageCan();
        setConsole(std::make_unique<VDConsole>(std::make_unique<VDDEVSConsoleParser>()));
        getConsole()->initialise();
        g_written.clear();
    }
    void TearDown() override {
        VDSnapshotCommand::setWriter(nullptr);
        destroyConsole();
        destroyGarbageCan();
        getEngineVariables()->removeVariable("file_logging");
        getEngineVariables()->removeVariable("console_logging");
        logdetail::forgetLogFile();
    }
    // Types the line and presses Enter; returns what the console showed for it.
    Lines enter(const std::string& line) {
        const size_t before = outputLines(*getConsole()).size();
        typeText(*getConsole(), line);
        pressKey(*getConsole(), VDKey::KEY_ENTER);
        const Lines all = outputLines(*getConsole());
        return Lines(all.begin() + static_cast<long>(before), all.end());
    }
    Lines logLines() const {
        flushLog();
        Lines lines;
        const std::string text = readFile(dir.file("log.txt"));
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
            lines.push_back(text.substr(start, end - start));
        }
        return lines;
    }

    TempDir dir{true};
};

// Every line it reports is shown once in the console, after the blank line, and reaches the log file.
TEST_F(SnapshotCommandTest, QuotedPathsHoldBlanksAndWindowAsksForTheWholeWindow) {
    VDSnapshotCommand::setWriter(&writeAt640x480);
    struct Case {
        const char* line;
        const char* written;  // "" when refused
    };
    for (const Case& c : {Case{"vis_snapshot \"my run.png\"", "my run.png"},
                          Case{"vis_snapshot dir/\"a b\"/c.png", "dir/a b/c.png"},
                          Case{"vis_snapshot --window \"my run.png\"", "window my run.png"},
                          Case{"vis_snapshot --window w.png", "window w.png"},
                          Case{"vis_snapshot \"--window\" w.png", "window w.png"},
                          Case{"vis_snapshot --window", "--window"}, Case{"vis_snapshot \"open.png", ""},
                          Case{"vis_snapshot \"\"", ""}, Case{"vis_snapshot --size w.png", ""}}) {
        g_written.clear();
        const Lines shown = enter(c.line);
        if (*c.written == '\0') {
            EXPECT_EQ((Lines{"", "usage: vis_snapshot [--window] $file.png"}), shown) << c.line;
            EXPECT_TRUE(g_written.empty()) << c.line;
        } else {
            EXPECT_EQ(Lines{c.written}, g_written) << c.line;
        }
    }
}

TEST_F(SnapshotCommandTest, TheNextFreeNumberedNameIsTheFirstNotTaken) {
    EXPECT_EQ("snapshot_001.png", VDSnapshotCommand::nextFreeName());
    for (const char* taken : {"snapshot_001.png", "snapshot_002.png", "snapshot_004.png"}) {
        dir.write(taken, "");
    }
    EXPECT_EQ("snapshot_003.png", VDSnapshotCommand::nextFreeName()) << "a gap is filled";
    EXPECT_EQ(dir.file("snapshot_003.png"), VDSnapshotCommand::nextFreeName(dir.path()));
}

TEST_F(SnapshotCommandTest, ResultsFailuresAndUsageAreShownOnceAndLogged) {
    VDSnapshotCommand::setWriter(&writeAt640x480);
    EXPECT_EQ((Lines{"", "Snapshot written: pictures/a.png (640x480)"}),
              enter("vis_snapshot pictures/a.png"));
    EXPECT_EQ((Lines{"", "usage: vis_snapshot [--window] $file.png"}), enter("vis_snapshot a.png b.png"));
    EXPECT_EQ((Lines{"", "usage: vis_snapshot [--window] $file.png"}), enter("vis_snapshot"));
    EXPECT_EQ(Lines{"pictures/a.png"}, g_written);
    VDSnapshotCommand::setWriter(nullptr);
    EXPECT_EQ((Lines{"", "Unable to write snapshot: a.png: there is no window to draw"}),
              enter("vis_snapshot a.png"));
    EXPECT_EQ((Lines{"Snapshot written: pictures/a.png (640x480)", "usage: vis_snapshot [--window] $file.png",
                     "usage: vis_snapshot [--window] $file.png",
                     "Unable to write snapshot: a.png: there is no window to draw"}),
              logLines());
}

}  // namespace
