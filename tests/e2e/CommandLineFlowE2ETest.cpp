// The command line's commands in the real program: imports they ask for are waited for, a failed one
// writes no picture, each reply is logged once, and vis_close empties the plot at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/AppSession.h"
#include "tests/e2e/ProgramRun.h"
#include "tests/support/PngPicture.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kLife = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";
// The heat log's last line for the cell: "Y / 00:00:00:400 / heat(1,1)(44) / out / -32.98621".
const Lines kHeat = {"vis_import_logfile " + std::string(TESS_SOURCE_DIR) + "/samples/heat_40x40.log",
                     "time_goto end", "vis_cell heat 1 1"};
const std::string kHeatAnswer = "heat(1,1) = -32.986210 since 00:00:00:400";

Lines withCommands(Lines arguments, const Lines& commands) {
    for (const std::string& line : commands) {
        arguments.insert(arguments.end(), {"--command", line});
    }
    return arguments;
}

TEST(CommandLineFlowE2ETest, PicturesWaitForTheImportsCommandsAskForAndAFailedOneWritesNone) {
    if (!ProgramRun::displayAvailable()) {
        GTEST_SKIP() << "the test command provides no display (DISPLAY)";
    }
    struct Case {
        Lines arguments;
        Lines commands;
        std::string err;   // empty: exit 0 and a picture; otherwise exit 1 and none
        std::string once;  // a reply log.txt holds once
    };
    const std::vector<Case> cases = {
        {{"--snapshot", "p.png", kLife}, kHeat, "", kHeatAnswer},
        {{"--snapshot", "p.png", kLife},
         {"vis_import_logfile missing.log", "vis_cell life"},
         "tessaron: --command 'vis_import_logfile missing.log': Unable to open log file for import\n"
         "tessaron: --command 'vis_cell life': usage: vis_cell $model $x [$y [$z]]\n",
         "usage: vis_cell $model $x [$y [$z]]"},
        {{"--frames", ".", kLife},
         {"vis_import_model missing.ma", "vis_cell life 1 1"},
         "tessaron: --command 'vis_import_model missing.ma': Unable to open model file for import\n",
         "Looking up cell..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commands[0]);
        ProgramRun run(withCommands(c.arguments, c.commands));
        EXPECT_EQ(c.err.empty() ? 0 : 1, run.status()) << run.err();
        EXPECT_EQ(c.err.empty(), run.exists(c.arguments[0] == "--snapshot" ? "p.png" : "frame_000001.png"));
        EXPECT_EQ(c.err, run.err());
        const std::string log = "\n" + readFile(run.file("log.txt"));
        const size_t at = log.find("\n" + c.once + "\n");
        EXPECT_TRUE(at != std::string::npos && log.find("\n" + c.once + "\n", at + 1) == std::string::npos)
            << c.once << " not once in:" << log;
    }
}

TEST(CommandLineFlowE2ETest, TheWindowRunsTheCommandsAfterAnImportOneAsksForOnceItEnds) {
    AppSession app(withCommands({kLife}, kHeat));
    ASSERT_TRUE(app.started()) << app.errors();
    EXPECT_TRUE(app.waitForLogLine(kHeatAnswer, 120)) << "\"No model named heat\" if run before the import";
    EXPECT_EQ("", app.errors());
}

TEST(CommandLineFlowE2ETest, ClosingTheRunEmptiesThePlotBeforeAnyFrameIsDrawn) {
    if (!ProgramRun::displayAvailable()) {
        GTEST_SKIP() << "the test command provides no display (DISPLAY)";
    }
    auto snapshot = [](const Lines& commands) {
        const PngPicture p = PngPicture::read(
            ProgramRun(withCommands({"--snapshot", "p.png", kLife}, commands)).file("p.png"));
        EXPECT_TRUE(p.valid());
        return Image{p.width, p.height, p.rgb};
    };
    // The same run reopened under another name, the plotted cell in it too, and no frame drawn in between.
    const std::string open = "vis_import_logfile " + kLife;
    const Image plain = snapshot({"vis_close", "vis_new other", open});
    const Image plotBefore = snapshot({"vis_plot life 3 4", "vis_close", "vis_new other", open});
    const Image plotAfter = snapshot({"vis_close", "vis_new other", open, "vis_plot life 3 4"});
    EXPECT_EQ(0, plain.differences(plotBefore, 0, 0, 800, 600)) << "the plot went with its run";
    EXPECT_GT(plain.differences(plotAfter, 0, 0, 800, 600), 20000) << "a plot of the new run shows";
}

}  // namespace
