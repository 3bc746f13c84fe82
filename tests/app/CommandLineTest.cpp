#include "shell/app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CommandLine parse(std::vector<std::string> args) {
    args.insert(args.begin(), "tessaron");
    std::vector<const char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

using Action = CommandLine::Action;

TEST(CommandLineTest, LogsKeepTheirOrderAndGlutOptionsPassThrough) {
    CommandLine line =
        parse({"-display", ":3", "b.log", "-iconic", "a.log", "b.log", "-geometry", "640x480"});
    ASSERT_EQ(Action::Run, line.action) << line.error;
    EXPECT_EQ((std::vector<std::string>{"b.log", "a.log", "b.log"}), line.logs);
    EXPECT_EQ((std::vector<std::string>{"tessaron", "-display", ":3", "-iconic", "-geometry", "640x480"}),
              line.glutArguments);
    EXPECT_EQ(800, line.width);
    EXPECT_EQ(600, line.height);
    EXPECT_FALSE(line.drawsAndExits());
}

TEST(CommandLineTest, OptionsTakeTheirValueEitherWay) {
    CommandLine line =
        parse({"--snapshot", "out.png", "--time=end", "--size", "1024x768", "--log=run/l.txt", "r.log"});
    ASSERT_EQ(Action::Run, line.action) << line.error;
    EXPECT_EQ("out.png", line.snapshot);
    EXPECT_EQ("end", line.time);
    EXPECT_EQ(1024, line.width);
    EXPECT_EQ(768, line.height);
    EXPECT_EQ("run/l.txt", line.logPath);
    EXPECT_TRUE(line.drawsAndExits());

    line = parse({"--frames", "out", "--every", "5", "--", "-odd.log"});
    ASSERT_EQ(Action::Run, line.action) << line.error;
    EXPECT_EQ("out", line.framesDir);
    EXPECT_EQ(5, line.every);
    EXPECT_EQ(std::vector<std::string>{"-odd.log"}, line.logs);
    line = parse({"--frames", "out", "--every", "2147483647", "a.log"});
    ASSERT_EQ(Action::Run, line.action) << line.error;
    EXPECT_EQ(2147483647, line.every) << "the largest int is a count like any other";

    line = parse({"--command", "vis_slice fallrock z 3", "r.log", "--command=vis_fit"});
    ASSERT_EQ(Action::Run, line.action) << line.error;
    EXPECT_EQ((std::vector<std::string>{"vis_slice fallrock z 3", "vis_fit"}), line.commands);
}

TEST(CommandLineTest, ModelFilesGoWithTheLogsAndPalettesNameTheirModelOrNone) {
    CommandLine line = parse({"run.MA", "--palette", "opening=o.pal", "run.log", "--palette=all.pal",
                              "--palette", "dir=x/p.pal", "--palette", "runs/a=b.pal"});
    ASSERT_EQ(Action::Run, line.action) << line.error;
    EXPECT_EQ((std::vector<std::string>{"run.MA", "run.log"}), line.logs);
    ASSERT_EQ(4u, line.palettes.size());
    EXPECT_EQ("opening", line.palettes[0].model);
    EXPECT_EQ("o.pal", line.palettes[0].file);
    EXPECT_EQ("", line.palettes[1].model);
    EXPECT_EQ("all.pal", line.palettes[1].file);
    EXPECT_EQ("dir", line.palettes[2].model);
    EXPECT_EQ("x/p.pal", line.palettes[2].file);
    EXPECT_EQ("", line.palettes[3].model) << "a '=' inside a path names no model";
    EXPECT_EQ("runs/a=b.pal", line.palettes[3].file);
    for (const char* name : {"run.ma", "a/b.Ma", ".ma"}) {
        EXPECT_TRUE(isModelFileName(name)) << name;
    }
    for (const char* name : {"run.log", "ma", "run.mat", "run.ma/"}) {
        EXPECT_FALSE(isModelFileName(name)) << name;
    }
}

TEST(CommandLineTest, HelpAndVersionWinOverTheRest) {
    EXPECT_EQ(Action::Help, parse({"x.log", "--help", "--bogus"}).action);
    EXPECT_EQ(Action::Help, parse({"-h"}).action);
    EXPECT_EQ(Action::Version, parse({"--version"}).action);
    EXPECT_NE(std::string::npos, programVersion().find("tessaron "));
}

TEST(CommandLineTest, MistakesAreErrorsThatNameTheOption) {
    struct Case {
        std::vector<std::string> args;
        std::string mentions;
    };
    const std::vector<Case> cases = {
        {{"--bogus"}, "--bogus"},
        {{"-x"}, "-x"},
        {{"--snapshot"}, "--snapshot"},
        {{"a.log", "--time"}, "--time"},
        {{"--log="}, "--log"},
        {{"-display"}, "-display"},
        {{"--time", "12:00"}, "12:00"},
        {{"--time", "later"}, "later"},
        {{"--time", "0:0:0:-1"}, "0:0:0:-1"},
        {{"--frames", "d", "--every", "0", "a.log"}, "--every"},
        {{"--frames", "d", "--every", "x", "a.log"}, "--every"},
        {{"--frames", "d", "--every", "2147483648", "a.log"},
         "--every 2147483648 is too large: at most 2147483647"},
        {{"--frames", "d", "--every=99999999999", "a.log"},
         "--every 99999999999 is too large: at most 2147483647"},
        {{"--frames", "d", "--every", "00", "a.log"}, "--every wants a whole number of at least 1, not '00'"},
        {{"--every", "2", "a.log"}, "--every"},
        {{"--frames", "d"}, "LOG"},
        {{"--snapshot", "a.png", "--frames", "d", "a.log"}, "together"},
        {{"--log", "l.txt", "--no-log"}, "together"},
        {{"--time", "end", "--frames", "d", "a.log"}, "together"},
        {{"--time", "end"}, "LOG"},
        {{"--palette", "opening=", "a.log"}, "opening="},
        {{"--palette", "p.pal"}, "LOG"},
        {{"--command", "vis_fit"}, "LOG"},
        {{"a.log", "--command"}, "--command"},
        {{"--video", "v.mp4"}, "--video needs at least one LOG"},
        {{"--video", "v.mp4", "--frames", "d", "a.log"}, "--video and --frames cannot"},
        {{"--video", "v.mp4", "--snapshot", "a.png", "a.log"}, "--video and --snapshot cannot"},
        {{"--step", "100ms", "a.log"}, "--step goes with --frames or --video"},
        {{"--fps", "12", "a.log"}, "--fps goes with --frames or --video"},
        {{"--video", "v.gif", "--step", "1s", "--every", "2", "a.log"}, "--step and --every"},
        {{"--video", "v.gif", "--fps", "0", "a.log"}, "--fps wants a whole number in 1..60, not '0'"},
        {{"--video", "v.gif", "--fps", "61", "a.log"}, "'61'"},
        {{"--video", "v.gif", "--fps", "2.5", "a.log"}, "'2.5'"},
    };
    for (const Case& c : cases) {
        CommandLine line = parse(c.args);
        EXPECT_EQ(Action::Error, line.action) << c.args.front();
        EXPECT_NE(std::string::npos, line.error.find(c.mentions)) << line.error;
    }
}

TEST(CommandLineTest, StepsAreClockTimesOrWholeNumbersWithAUnit) {
    // text -> milliseconds; 0 for a step refused
    const std::vector<std::pair<std::string, double>> cases = {
        {"00:00:00:100", 100}, {"100ms", 100},      {"2s", 2000},  {"1min", 60000}, {"01:02:03:004", 3723004},
        {"0:0:1:500", 1500},   {"00:00:00:000", 0}, {"0ms", 0},    {"100", 0},      {"ms", 0},
        {"1.5s", 0},           {"100 ms", 0},       {"-100ms", 0}, {"100h", 0},     {"00:00:100", 0},
        {"0:0:0:0:1", 0},      {"1S", 0},           {"", 0},
    };
    for (const auto& [text, milliseconds] : cases) {
        double step = -1.0;
        EXPECT_EQ(milliseconds > 0, parseStep(text, step)) << text;
        if (milliseconds > 0) {
            EXPECT_EQ(milliseconds, step) << text;
        }
        CommandLine line = parse({"--video", "v.webm", "--step", text, "a.log"});
        EXPECT_EQ(milliseconds > 0 ? Action::Run : Action::Error, line.action) << text << ": " << line.error;
    }
    CommandLine line =
        parse({"--frames", "d", "--step=2s", "--fps", "60", "--time", "end", "--video", "v.gif", "a.log"});
    EXPECT_EQ(Action::Error, line.action) << "--video and --frames";
    line = parse({"--video", "v.gif", "--step=2s", "--fps", "60", "--time", "end", "a.log"});
    ASSERT_EQ(Action::Run, line.action) << line.error;
    EXPECT_EQ("v.gif", line.video);
    EXPECT_EQ(2000, line.step);
    EXPECT_EQ(60, line.fps);
    EXPECT_TRUE(line.drawsAndExits());
}

TEST(CommandLineTest, SizesOutsideTheRangeOrFormAreRefused) {
    for (const char* bad : {"10x600", "800x8193", "800", "800x", "x600", "800X600", "-800x600", "800x600x2",
                            "80 0x600", "0x0", "99999999999x600"}) {
        CommandLine line = parse({"--size", bad});
        EXPECT_EQ(Action::Error, line.action) << bad;
    }
    for (const char* good : {"16x16", "8192x8192", "1920x1080"}) {
        EXPECT_EQ(Action::Run, parse({"--size", good}).action) << good;
    }
    int width = 0;
    int height = 0;
    ASSERT_TRUE(parseSize("16x8192", width, height));
    EXPECT_EQ(16, width);
    EXPECT_EQ(8192, height);
}

TEST(CommandLineTest, VisualizationIsNamedAfterTheFirstLogWithoutItsExtension) {
    EXPECT_EQ("life_20x20", visualizationNameFor("samples/life_20x20.log"));
    EXPECT_EQ("run.tar", visualizationNameFor("/data/run.tar.gz"));
    EXPECT_EQ("plain", visualizationNameFor("plain"));
    EXPECT_EQ(".log", visualizationNameFor("logs/.log"));
    EXPECT_EQ("runs", visualizationNameFor("runs/"));
    EXPECT_EQ("x", visualizationNameFor("a.b/x"));
}

}  // namespace
