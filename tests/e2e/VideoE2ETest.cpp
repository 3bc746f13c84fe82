// --video: videos of real runs that ffprobe reads, and stand-in ffmpeg programs that fail, fill the disk or
// are interrupted, none of which leave a partial file or touch a file of the same name.
#include <signal.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/AppSession.h"
#include "tests/e2e/ProgramRun.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kSample = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";
// The stand-in's first lines: "$out" is the file ffmpeg is to write; `frame` reads one 320x240 RGB frame,
// more than a pipe holds, so that a stand-in that reads no more holds the program up at the second.
const std::string kScript =
    "#!/bin/sh\nfor out; do :; done\nframe() { /usr/bin/head -c 230400 >/dev/null; }\n";

#define REQUIRE_DISPLAY()                                                 \
    if (!ProgramRun::displayAvailable()) {                                \
        GTEST_SKIP() << "the test command provides no display (DISPLAY)"; \
    }

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// A folder for the video (videos/run.mp4, "old" in it when asked) and one of programs put first on PATH
// while the program starts, with a stand-in `ffmpeg` script in it when one is given.
class VideoE2ETest : public ::testing::Test {
  protected:
    void prepare(const std::string& standIn, bool oldFile, const std::string& path = "") {
        std::filesystem::remove_all(folder.file("videos"));
        std::filesystem::remove_all(folder.file("bin"));
        std::filesystem::create_directories(folder.file("videos"));
        std::filesystem::create_directories(folder.file("bin"));
        if (oldFile) {
            folder.write("videos/run.mp4", "old");
        }
        if (!standIn.empty()) {
            ::chmod(folder.write("bin/ffmpeg", kScript + standIn + "\n").c_str(), 0755);
        }
        ::setenv("PATH", (folder.file("bin") + path).c_str(), 1);
    }
    // What is left where the video goes: "old", the stand-in's "whole", or "" for no file and nothing else.
    std::string left() {
        ::setenv("PATH", m_path.c_str(), 1);
        const std::set<std::string> names = namesIn(folder.file("videos"));
        if (names.empty()) {
            return "";
        }
        return names == std::set<std::string>{"run.mp4"} ? readFile(video()) : "other files left";
    }
    std::string video() const { return folder.file("videos/run.mp4"); }

    TempDir folder;
    const std::string m_path = std::getenv("PATH");
};

TEST_F(VideoE2ETest, AFailingOrMissingFfmpegLeavesNoFileAndKeepsAnOldOne) {
    REQUIRE_DISPLAY();
    struct Case {
        const char* what;
        std::string standIn;  // empty: no ffmpeg on PATH
        bool oldFile;
        int status;
        std::string said;  // on standard error, or standard output when all went well
        std::string left;
    };
    const std::string unable = "tessaron: Unable to write video: " + video() + ": ";
    const std::string notFound =
        "tessaron: ffmpeg was not found: install it (apt-get install ffmpeg) or write frames with --frames\n";
    const std::vector<Case> cases = {
        {"no ffmpeg", "", false, 1, notFound, ""},
        {"no ffmpeg, an old file", "", true, 1, notFound, "old"},
        {"ffmpeg refuses", "echo \"Unknown encoder 'libx264'\" >&2; exit 3", true, 1,
         unable + "ffmpeg failed with exit status 3: Unknown encoder 'libx264'\n", "old"},
        {"the disk fills up after a frame",
         "frame; printf partial >\"$out\"; echo 'Error writing trailer: No space left on device' >&2; exit 1",
         false, 1,
         unable + "ffmpeg failed with exit status 1: Error writing trailer: No space left on device\n", ""},
        {"ffmpeg ends well but writes nothing", "/usr/bin/cat >/dev/null", true, 1,
         unable + "ffmpeg wrote nothing\n", "old"},
        {"ffmpeg ends well", "/usr/bin/cat >/dev/null; printf whole >\"$out\"", true, 0,
         "Video written: " + video() + " (6 frames, 1 a second)\n", "whole"},
    };
    for (const Case& c : cases) {
        prepare(c.standIn, c.oldFile);
        ProgramRun run({"--video", video(), "--size", "320x240", kSample});
        EXPECT_EQ(c.status, run.status()) << c.what;
        EXPECT_EQ(c.said, c.status == 0 ? run.out() : run.err()) << c.what;
        EXPECT_EQ(c.left, left()) << c.what;
    }
    for (const char* name : {"run.avi", "run", "mp4", "run.mp4/"}) {
        ProgramRun run({"--video", name, kSample}, ProgramRun::Display::None);
        EXPECT_EQ(1, run.status()) << name;
        EXPECT_EQ(std::string("tessaron: --video ") + name + ": the name must end in .mp4, .webm or .gif\n",
                  run.err());
        EXPECT_FALSE(run.exists(name)) << name;
    }
}

TEST_F(VideoE2ETest, CtrlCOrEscapeStopsAVideoAndKeepsAnOldFile) {
    // The stand-in takes the first frame and no more: the program waits on the second when it is stopped.
    for (const bool escape : {false, true}) {
        prepare("frame; printf partial >\"$out\"; exec /usr/bin/sleep 600", true, ":" + m_path);
        AppSession app({"--video", video(), "--size", "320x240", kSample}, AppSession::ErrorOutput::Terminal);
        ASSERT_TRUE(app.started()) << app.errors();
        // A guard against a program that never gets there, not a verdict.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (!contains(app.errors(), "Video: frame 1 of 6") &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ASSERT_TRUE(contains(app.errors(), "Video: frame 1 of 6")) << app.errors();
        if (escape) {
            app.key("Escape");
        } else {
            app.signal(SIGINT);
        }
        EXPECT_EQ(1, app.waitForExit(60)) << app.errors();
        EXPECT_TRUE(contains(app.errors(), "tessaron: Video stopped: " + video() + " was not written"))
            << escape;
        EXPECT_EQ("old", left()) << escape;
    }
}

// Frames and seconds as ffprobe reads them from the file.
std::pair<int, double> probe(const std::string& file) {
    std::pair<int, double> read{0, 0.0};
    const std::string command =
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=nb_read_frames:format=duration -of "
        "default=nw=1 '" +
        file + "'";
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, pipe) != nullptr) {
            std::sscanf(line, "nb_read_frames=%d", &read.first);
            std::sscanf(line, "duration=%lf", &read.second);
        }
        ::pclose(pipe);
    }
    return read;
}

TEST_F(VideoE2ETest, RealRunsMakeVideosOfEveryFormatAtASteadyClock) {
    REQUIRE_DISPLAY();
    const std::string log = std::string(TESS_SHARED_DIR) + "/logs/water_spread_2d_25x25.log";
    if (!std::filesystem::exists(log)) {
        GTEST_SKIP() << "no real logs";
    }
    if (std::system("command -v ffprobe >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "ffmpeg is not installed (scripts/deps installs it)";
    }
    // The run's last event time is 00:00:04:000: 41 steps of 100 ms from its start, at the rate that makes
    // 41 frames last at least 4 s (10 a second), or at the rate given.
    struct Case {
        std::vector<std::string> options;
        std::string name;
        int frames;
        double seconds;
    };
    const std::vector<Case> cases = {
        {{"--step", "00:00:00:100"}, "water.mp4", 41, 4.1},
        {{"--step", "100ms"}, "water.webm", 41, 4.1},
        {{"--step", "100ms"}, "water.gif", 41, 4.1},
        {{"--step", "1s", "--fps", "2"}, "slow.mp4", 5, 2.5},
        {{"--step", "1s", "--time", "00:00:02:500"}, "late.mp4", 3, 3.0},
    };
    folder.write("water.mp4", "old");
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.options;
        arguments.insert(arguments.end(), {"--video", folder.file(c.name), "--size", "200x150", log});
        ProgramRun run(arguments);
        ASSERT_EQ(0, run.status()) << c.name << ": " << run.err();
        const auto [frames, seconds] = probe(folder.file(c.name));
        EXPECT_EQ(c.frames, frames) << c.name;
        EXPECT_NEAR(c.seconds, seconds, 0.02) << c.name;
    }
}

TEST_F(VideoE2ETest, FramesTakeTheStepAndTheirVideoLineTheRate) {
    REQUIRE_DISPLAY();
    // life_20x20's event times are 100 to 500 ms: three frames, at 0, 250 and 500 ms with a step of 250 ms.
    ProgramRun run({"--frames", folder.path(), "--step", "250ms", "--fps", "24", "--size", "64x48", kSample});
    ASSERT_EQ(0, run.status()) << run.err();
    EXPECT_TRUE(contains(run.out(), "ffmpeg -framerate 24 -i ")) << run.out();
    EXPECT_EQ((std::set<std::string>{"frame_000001.png", "frame_000002.png", "frame_000003.png"}),
              namesIn(folder.path()));
}

}  // namespace
