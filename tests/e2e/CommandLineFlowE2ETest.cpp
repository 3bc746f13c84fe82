// The command line's commands in the real program: an import one asks for is waited for, with pictures or
// in the window, a failed one writes no picture, each reply is in log.txt once, and vis_close empties the
// plot at once.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/AppSession.h"
#include "tests/e2e/ProgramRun.h"
#include "tests/support/PngPicture.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kLife = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";

size_t countLines(const std::string& text, const std::string& line) {
    std::istringstream in(text);
    size_t n = 0;
    for (std::string read; std::getline(in, read);) {
        n += read == line ? 1 : 0;
    }
    return n;
}

// The sample heat run's import, a command the imported run answers, and its answer at the last time, as the
// log's last line for the cell says: "Y / 00:00:00:400 / heat(1,1)(44) / out / -32.98621".
const Lines kImportHeat = {
    "--command", "vis_import_logfile " + std::string(TESS_SOURCE_DIR) + "/samples/heat_40x40.log",
    "--command", "time_goto end",
    "--command", "vis_cell heat 1 1"};
const std::string kHeatAnswer = "heat(1,1) = -32.986210 since 00:00:00:400";

Lines with(Lines arguments, const Lines& more) {
    arguments.insert(arguments.end() - 1, more.begin(), more.end());
    return arguments;
}

TEST(CommandLineFlowE2ETest, PicturesWaitForTheImportsCommandsAskForAndAFailedOneWritesNone) {
    if (!ProgramRun::displayAvailable()) {
        GTEST_SKIP() << "the test command provides no display (DISPLAY)";
    }
    // A run that says nothing on standard error exits 0 and writes its picture; any other exits 1 and writes
    // none.
    struct Case {
        Lines arguments;
        std::string err;
        Lines once;  // in log.txt
    };
    const std::vector<Case> cases = {
        {with({"--snapshot", "p.png", kLife}, kImportHeat),
         "",
         {"Moving to end...", "Looking up cell...", kHeatAnswer, "Snapshot written: p.png (800x600)"}},
        {{"--snapshot", "p.png", "--command", "vis_import_logfile missing.log", "--command", "vis_close now",
          kLife},
         "tessaron: --command 'vis_import_logfile missing.log': Unable to open log file for import\n"
         "tessaron: --command 'vis_close now': usage: vis_close\n",
         {"Unable to open log file for import", "usage: vis_close"}},
        {{"--frames", ".", "--command", "vis_import_model missing.ma", "--command", "vis_cell life 1 1",
          kLife},
         "tessaron: --command 'vis_import_model missing.ma': Unable to open model file for import\n",
         {"Importing model file: missing.ma", "Looking up cell..."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments[3]);
        ProgramRun run(c.arguments);
        EXPECT_EQ(c.err.empty() ? 0 : 1, run.status()) << run.err();
        EXPECT_EQ(c.err.empty(), run.exists(c.arguments[0] == "--snapshot" ? "p.png" : "frame_000001.png"));
        EXPECT_EQ(c.err, run.err());
        const std::string log = readFile(run.file("log.txt"));
        for (const std::string& line : c.once) {
            EXPECT_EQ(1u, countLines(log, line)) << line;
        }
    }
}

TEST(CommandLineFlowE2ETest, TheWindowRunsTheCommandsAfterAnImportOneAsksForOnceItEnds) {
    AppSession app(with({kLife}, kImportHeat));
    ASSERT_TRUE(app.started()) << app.errors();
    // A value only once the import has ended: "No model named heat" before.
    ASSERT_TRUE(app.waitForLogLine(kHeatAnswer, 120));
    EXPECT_EQ(1u, countLines(app.log(), "Looking up cell..."));
    EXPECT_EQ("", app.errors());
}

int differences(const PngPicture& a, const PngPicture& b) {
    int count = a.width == b.width && a.height == b.height ? 0 : -1;
    for (size_t i = 0; count >= 0 && i < a.rgb.size(); i += 3) {
        count += a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2];
    }
    return count;
}

TEST(CommandLineFlowE2ETest, ClosingTheRunEmptiesThePlotBeforeAnyFrameIsDrawn) {
    if (!ProgramRun::displayAvailable()) {
        GTEST_SKIP() << "the test command provides no display (DISPLAY)";
    }
    // The same run opened again under another name, where the plotted cell exists too; no frame in between.
    const Lines reopen = {"--command",     "vis_close", "--command",
                          "vis_new other", "--command", "vis_import_logfile " + kLife};
    auto snapshot = [&](const Lines& before, const Lines& after) {
        Lines arguments = {"--snapshot", "p.png"};
        for (const Lines* part : {&before, &reopen, &after}) {
            arguments.insert(arguments.end(), part->begin(), part->end());
        }
        arguments.push_back(kLife);
        return PngPicture::read(ProgramRun(arguments).file("p.png"));
    };
    const Lines plot = {"--command", "vis_plot life 3 4"};
    const PngPicture plain = snapshot({}, {});
    ASSERT_TRUE(plain.valid());
    EXPECT_EQ(0, differences(plain, snapshot(plot, {}))) << "the plot went with its run";
    EXPECT_GT(differences(plain, snapshot({}, plot)), 20000) << "a plot of the new run shows";
}

}  // namespace
