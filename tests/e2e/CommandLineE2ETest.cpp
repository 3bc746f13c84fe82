// The command line of the real program: answers that need no display, pictures written by --snapshot and
// vis_snapshot, logs opened at start-up.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "tests/e2e/AppSession.h"
#include "tests/e2e/ProgramRun.h"
#include "tests/support/PngPicture.h"
#include "tests/support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kSample = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

size_t countLines(const std::string& text, const std::string& line) {
    size_t n = 0;
    for (size_t at = 0; (at = text.find(line + "\n", at)) != std::string::npos; at += line.size()) {
        n += (at == 0 || text[at - 1] == '\n') ? 1 : 0;
    }
    return n;
}

// A cell's colour (any value's, or none's) or the colour bar's: not black, not one of the greys of the grid
// and the widgets.
bool isColoured(const uint8_t* p) {
    const int high = std::max({p[0], p[1], p[2]});
    const int low = std::min({p[0], p[1], p[2]});
    return high - low > 40;
}

// Pixels of the green of cells without a value (lit, so only roughly that green).
int cellGreen(const PngPicture& picture) {
    int count = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = picture.at(x, y);
            count += p[0] < 10 && p[1] > 100 && p[1] > p[2] + 30 ? 1 : 0;
        }
    }
    return count;
}

#define REQUIRE_DISPLAY()                                                 \
    if (!ProgramRun::displayAvailable()) {                                \
        GTEST_SKIP() << "the test command provides no display (DISPLAY)"; \
    }

TEST(CommandLineE2ETest, HelpVersionAndMistakesAreAnsweredWithoutADisplay) {
    ProgramRun help({"--help"}, ProgramRun::Display::None);
    EXPECT_EQ(0, help.status()) << help.err();
    EXPECT_EQ(0u, help.out().find("usage: tessaron [options] [LOG...]\n"));
    EXPECT_TRUE(contains(help.out(), "\n  --snapshot FILE "));
    EXPECT_EQ("", help.err());
    EXPECT_FALSE(help.exists("log.txt")) << "nothing started, nothing logged";

    ProgramRun version({"--version"}, ProgramRun::Display::None);
    EXPECT_EQ(0, version.status());
    EXPECT_EQ(0u, version.out().find("tessaron "));

    struct Mistake {
        Lines arguments;
        std::string says;
    };
    // The forms of each mistake are the unit tests' business; here, what the user sees of two.
    for (const Mistake& m : std::vector<Mistake>{{{"--bogus", kSample}, "unknown option --bogus"},
                                                 {{"--size", "15x600"}, "--size wants WxH"}}) {
        ProgramRun run(m.arguments, ProgramRun::Display::None);
        EXPECT_EQ(2, run.status()) << m.arguments.front();
        EXPECT_EQ(0u, run.err().find("tessaron: " + m.says)) << run.err();
        EXPECT_TRUE(contains(run.err(), "\nusage: tessaron [options] [LOG...]\n")) << run.err();
        EXPECT_EQ("", run.out());
    }
}

TEST(CommandLineE2ETest, ASnapshotShowsTheRunAsTheWindowShowsIt) {
    REQUIRE_DISPLAY();
    ProgramRun run({"--snapshot", "life.png", "--time", "end", kSample});
    ASSERT_EQ(0, run.status()) << run.err();
    EXPECT_EQ("Snapshot written: life.png (800x600)\n", run.out());
    const PngPicture picture = PngPicture::read(run.file("life.png"));
    ASSERT_EQ(800, picture.width);
    ASSERT_EQ(600, picture.height);
    const std::string log = readFile(run.file("log.txt"));
    EXPECT_EQ(1u, countLines(log, "Creating new visualization context named: life_20x20"));
    EXPECT_EQ(1u, countLines(log, "Current time: 00:00:00:500"));
    EXPECT_EQ(1u, countLines(log, "Snapshot written: life.png (800x600)"));

    // The same run in the window, as a user opens it: its cells are where the picture has them, in the same
    // colours.
    AppSession app({"--time", "end", kSample});
    ASSERT_TRUE(app.started()) << app.errors();
    ASSERT_TRUE(app.waitForLogLine("Current time: 00:00:00:500"));
    const Image shot = app.settledScreenshot(std::string(TESS_SCREENSHOT_DIR) + "/command_line_life.png");
    ASSERT_EQ(800, shot.width);
    // The window's buffer is drawn with its origin at the top and the picture's with its origin at the
    // bottom, so the multisampled edges of cells and lines fall a little differently; inside a cell (a
    // pixel coloured like its four neighbours) the colours are the same.
    auto same = [&](int x, int y, int dx, int dy) {
        const Image::Pixel a = shot.at(x, y);
        const Image::Pixel b = shot.at(x + dx, y + dy);
        return a.r == b.r && a.g == b.g && a.b == b.b;
    };
    int inside = 0;
    int mismatched = 0;
    for (int y = 1; y < 599; ++y) {
        for (int x = 1; x < 799; ++x) {
            const Image::Pixel s = shot.at(x, y);
            const uint8_t window[3] = {s.r, s.g, s.b};
            if (!isColoured(window) || !same(x, y, 1, 0) || !same(x, y, -1, 0) || !same(x, y, 0, 1) ||
                !same(x, y, 0, -1)) {
                continue;
            }
            ++inside;
            const uint8_t* drawn = picture.at(x, y);
            mismatched += std::abs(drawn[0] - s.r) + std::abs(drawn[1] - s.g) + std::abs(drawn[2] - s.b) > 6;
        }
    }
    EXPECT_GT(inside, 400 * 40) << "the console is hidden and the 400 cells are in view";
    EXPECT_LT(mismatched, inside / 100);
    EXPECT_TRUE(app.running());
    EXPECT_EQ("", app.errors());
}

TEST(CommandLineE2ETest, ALogGivenTwiceIsImportedTwice) {
    REQUIRE_DISPLAY();
    ProgramRun once({"--snapshot", "once.png", kSample});
    ProgramRun twice({"--snapshot", "twice.png", kSample, kSample});
    ASSERT_EQ(0, once.status()) << once.err();
    ASSERT_EQ(0, twice.status()) << twice.err();
    const std::string one = readFile(once.file("log.txt"));
    const std::string two = readFile(twice.file("log.txt"));
    EXPECT_EQ(2u, countLines(two, "Importing simulation results from log file: " + kSample));
    EXPECT_GT(countLines(one, "Adding event"), 5000u);
    EXPECT_EQ(2 * countLines(one, "Adding event"), countLines(two, "Adding event"));
}

TEST(CommandLineE2ETest, ALongImportLogsItsFirstMessagesUnlessAskedForEvery) {
    REQUIRE_DISPLAY();
    TempDir dir;
    std::string text;
    for (int i = 0; i < 100001; ++i) {
        text += "msg Y / 00:00:00:001 / a(1) / out / 1 to b(2)\n";
    }
    const std::string path = dir.write("long.log", text);
    // The option, then the variable (TESSARON_LOG_EVERY_MESSAGE), each alone; the last line's count.
    for (const auto& [option, variable, logged] :
         {std::make_tuple("", "", 100000), std::make_tuple("--log-every-message", "", 100001),
          std::make_tuple("", "1", 100001), std::make_tuple("", "0", 100000)}) {
        SCOPED_TRACE(std::string(option) + variable);
        ::setenv("TESSARON_LOG_EVERY_MESSAGE", variable, 1);
        ProgramRun run({"--snapshot", "p.png", option[0] != 0 ? option : "--", path});
        ::unsetenv("TESSARON_LOG_EVERY_MESSAGE");
        ASSERT_EQ(0, run.status()) << run.err();
        const std::string log = readFile(run.file("log.txt"));
        EXPECT_EQ(static_cast<size_t>(logged), countLines(log, "Adding event"));
        EXPECT_EQ(logged == 100000 ? 1u : 0u,
                  countLines(log,
                             "Imported 100,001 messages; the lines of the first 100,000 are in the log "
                             "(--log-every-message writes all)"));
    }
}

TEST(CommandLineE2ETest, ALogThatCannotBeReadEndsASnapshotRunWithTheLoadersMessage) {
    REQUIRE_DISPLAY();
    for (const std::string& log : {std::string("missing.log"), std::string(TESS_SOURCE_DIR) + "/samples"}) {
        ProgramRun run({"--snapshot", "out.png", kSample, log});
        EXPECT_EQ(1, run.status()) << log;
        EXPECT_EQ("tessaron: " + log + ": Unable to open log file for import\n", run.err());
        EXPECT_FALSE(run.exists("out.png")) << "no picture of a run that was not read";
    }
}

TEST(CommandLineE2ETest, ALogThatCannotBeReadLeavesTheProgramOpenWithTheConsoleShown) {
    AppSession app({"missing.log"});
    ASSERT_TRUE(app.started()) << app.errors();
    ASSERT_TRUE(app.waitForLogLine("Unable to open log file for import"));
    EXPECT_TRUE(app.sync());
    EXPECT_EQ("tessaron: missing.log: Unable to open log file for import\n", app.errors());
    EXPECT_TRUE(app.running());
    // The console's output area still covers the middle of the window.
    const Image shot = app.settledScreenshot();
    const Image::Pixel fill = shot.at(400, 300);
    EXPECT_GT(fill.r + fill.g + fill.b, 60) << "not the black of the 3D view";
    EXPECT_GT(shot.count(30, 90, 740, 500,
                         [&](Image::Pixel p) { return p.r == fill.r && p.g == fill.g && p.b == fill.b; }),
              100000);
}

TEST(CommandLineE2ETest, SnapshotsGoWhereAskedOrNowhereWithTheReason) {
    REQUIRE_DISPLAY();
    // Larger than the screen of the display: drawn in a frame of its own.
    ProgramRun big({"--snapshot", "big.png", "--size", "1600x1200", "--no-log", kSample});
    ASSERT_EQ(0, big.status()) << big.err();
    const PngPicture picture = PngPicture::read(big.file("big.png"));
    EXPECT_EQ(1600, picture.width);
    EXPECT_EQ(1200, picture.height);
    EXPECT_FALSE(big.exists("log.txt"));

    ProgramRun missing({"--snapshot", "no/such/folder/out.png", "--log", "elsewhere.txt", kSample});
    EXPECT_EQ(1, missing.status());
    EXPECT_EQ("tessaron: Unable to write snapshot: no/such/folder/out.png: No such file or directory\n",
              missing.err());
    EXPECT_FALSE(missing.exists("log.txt"));
    EXPECT_EQ(1u, countLines(readFile(missing.file("elsewhere.txt")),
                             "Unable to write snapshot: no/such/folder/out.png: No such file or directory"));

    // The reason depends on how /sys is mounted here ("Permission denied", "Read-only file system").
    ProgramRun readOnly({"--snapshot", "/sys/out.png", kSample});
    EXPECT_EQ(1, readOnly.status());
    const std::string prefix = "tessaron: Unable to write snapshot: /sys/out.png: ";
    const std::string said = readOnly.err();
    ASSERT_EQ(0u, said.find(prefix)) << said;
    EXPECT_GT(said.size(), prefix.size() + 1) << "a reason";
    EXPECT_EQ(1, std::count(said.begin(), said.end(), '\n')) << said;
    EXPECT_EQ('\n', said.back());
    EXPECT_FALSE(std::filesystem::exists("/sys/out.png"));

    // A read-only picture stays as it was (where else pictures may not go: AtomicFileTest).
    TempDir pictures;
    const std::string kept = pictures.write("kept.png", "old");
    ASSERT_EQ(0, ::chmod(kept.c_str(), 0444));
    ProgramRun refused({"--snapshot", kept, "--no-log", kSample});
    EXPECT_EQ(1, refused.status());
    EXPECT_EQ("tessaron: Unable to write snapshot: " + kept + ": Permission denied\n", refused.err());
    EXPECT_TRUE(readFile(kept) == "old") << "the read-only picture left as it was";
}

TEST(CommandLineE2ETest, FramesTheStartThenOnePicturePerEventTime) {
    REQUIRE_DISPLAY();
    ProgramRun run({"--frames", ".", "--size", "320x240", kSample});
    ASSERT_EQ(0, run.status()) << run.err();
    EXPECT_EQ(0u, run.out().find("Frames written: 6 into .\n")) << run.out();
    // Six frames at one a second, as playback paces a short run.
    EXPECT_TRUE(contains(run.out(), "ffmpeg -framerate 1 -i './frame_%06d.png' ")) << run.out();
    for (const char* name : {"frame_000001.png", "frame_000002.png", "frame_000003.png", "frame_000004.png",
                             "frame_000005.png", "frame_000006.png"}) {
        const PngPicture frame = PngPicture::read(run.file(name));
        EXPECT_EQ(320, frame.width) << name;
        EXPECT_EQ(240, frame.height) << name;
    }
    EXPECT_FALSE(run.exists("frame_000007.png"));
    // The start, which nothing moved the time to and where no cell has a value yet, then one event time
    // after another.
    const std::string log = readFile(run.file("log.txt"));
    EXPECT_EQ(0u, countLines(log, "Time decremented to: 00:00:00:000"));
    for (const char* time :
         {"00:00:00:100", "00:00:00:200", "00:00:00:300", "00:00:00:400", "00:00:00:500"}) {
        EXPECT_EQ(1u, countLines(log, std::string("Time incremented to: ") + time)) << time;
    }
    const int startGreen = cellGreen(PngPicture::read(run.file("frame_000001.png")));
    EXPECT_GT(startGreen, 200);
    EXPECT_LT(cellGreen(PngPicture::read(run.file("frame_000002.png"))), startGreen);

    ProgramRun missing({"--frames", "no/such/folder", kSample});
    EXPECT_EQ(1, missing.status());
    EXPECT_EQ("tessaron: Unable to write frames: no/such/folder: No such file or directory\n", missing.err());
}

TEST(CommandLineE2ETest, ALogWithoutMessagesWritesNoPicture) {
    REQUIRE_DISPLAY();
    TempDir logs;
    const std::string table =
        logs.write("table.log", "\nTiempo\tValor integrado\n     0.00000\t     0.00000\n");
    const std::string said = "tessaron: " + table + " holds no simulation messages\n";
    ProgramRun snapshot({"--snapshot", "x.png", table});
    EXPECT_EQ(1, snapshot.status());
    EXPECT_EQ(said, snapshot.err());
    EXPECT_FALSE(snapshot.exists("x.png"));
    EXPECT_EQ(1u, countLines(readFile(snapshot.file("log.txt")), table + " holds no simulation messages"));

    ProgramRun frames({"--frames", ".", table});
    EXPECT_EQ(1, frames.status());
    EXPECT_EQ(said, frames.err());
    EXPECT_FALSE(frames.exists("frame_000001.png"));
}

TEST(CommandLineE2ETest, FramesLeaveWhatElseIsInTheFolderAndSaySo) {
    REQUIRE_DISPLAY();
    TempDir folder;
    folder.write("mine.png", "mine");
    ASSERT_EQ(0, ::symlink(folder.file("mine.png").c_str(), folder.file("frame_000050.png").c_str()));
    folder.write("frame_000100.png", "old");
    folder.write("frame_999999.png", "old");
    ProgramRun run({"--frames", folder.path(), "--size", "64x48", kSample});
    ASSERT_EQ(0, run.status()) << run.err();
    EXPECT_EQ("tessaron: 3 older frames left in " + folder.path() + ", from frame_000050.png\n", run.err());
    // The start and the sample's 5 event times.
    EXPECT_TRUE(contains(run.out(), "/frame_%06d.png' -frames:v 6 ")) << run.out();
    EXPECT_EQ("mine", readFile(folder.file("frame_000050.png")));
    EXPECT_EQ("mine", readFile(folder.file("mine.png")));
    EXPECT_EQ("old", readFile(folder.file("frame_000100.png")));
    EXPECT_EQ("old", readFile(folder.file("frame_999999.png")));
    EXPECT_EQ(48, PngPicture::read(folder.file("frame_000006.png")).height);
}

TEST(CommandLineE2ETest, VisSnapshotWritesTheViewOrTheWindowOrSaysWhyNot) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    app.command("vis_snapshot \"my shot.png\"");
    app.command("vis_snapshot --window window.png");
    ASSERT_TRUE(app.waitForLogLine("Snapshot written: my shot.png (800x600)"));
    ASSERT_TRUE(app.waitForLogLine("Snapshot written: window.png (800x600)"));
    const PngPicture view = PngPicture::read(app.workDir() + "/my shot.png");
    const PngPicture window = PngPicture::read(app.workDir() + "/window.png");
    EXPECT_EQ(800, view.width);
    EXPECT_EQ(600, view.height);
    // The console is shown: its output background fills the middle of the window and of the whole-window
    // picture, but the view's picture has the black of the 3D view there.
    const Image shot = app.settledScreenshot();
    const Image::Pixel fill = shot.at(400, 300);
    EXPECT_GT(fill.r + fill.g + fill.b, 60) << "not the black of the 3D view";
    const uint8_t* middle = window.at(400, 300);
    EXPECT_EQ(fill.r, middle[0]);
    EXPECT_EQ(fill.g, middle[1]);
    EXPECT_EQ(fill.b, middle[2]);
    const uint8_t* viewMiddle = view.at(400, 300);
    EXPECT_LT(viewMiddle[0] + viewMiddle[1] + viewMiddle[2], 30) << "no console in the view's picture";

    app.command("vis_snapshot missing/shot.png");
    EXPECT_TRUE(app.waitForLogLine("Unable to write snapshot: missing/shot.png: No such file or directory"));
    EXPECT_TRUE(app.running()) << app.errors();
}

}  // namespace
