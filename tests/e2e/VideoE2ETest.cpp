// --video: videos of real runs that ffprobe reads, and stand-in ffmpeg programs that fail, fill the disk or
// are interrupted, none of which leave a partial file or touch a file of the same name.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
const std::string kNotFound =
    "tessaron: ffmpeg was not found: install it (apt-get install ffmpeg) or write frames with --frames";

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

// The program run on a terminal (what it says there: progress and messages) with PATH set to `path`, in
// `folder`. With `interruptAt`, Ctrl+C's signal goes to it once the terminal shows that text.
struct TerminalRun {
    int status = -1;
    std::string said;
};

TerminalRun runOnTerminal(std::vector<std::string> arguments, const std::string& path,
                          const std::string& folder, const std::string& interruptAt = "") {
    TerminalRun run;
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        if (::chdir(folder.c_str()) != 0) {
            ::_exit(127);
        }
        ::setenv("PATH", path.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(TESS_PROGRAM)};
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        ::execv(TESS_PROGRAM, argv.data());
        ::_exit(127);
    }
    if (child < 0) {
        return run;
    }
    // A guard against a program that hangs, not a verdict: the test fails on its status then.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    bool interrupted = false;
    char buffer[512];
    for (;;) {
        pollfd wait{terminal, POLLIN, 0};
        if (::poll(&wait, 1, 200) > 0) {
            const ssize_t n = ::read(terminal, buffer, sizeof buffer);
            if (n <= 0) {
                break;  // the program has ended: its side of the terminal is closed
            }
            run.said.append(buffer, static_cast<size_t>(n));
        }
        if (!interruptAt.empty() && !interrupted && contains(run.said, interruptAt)) {
            ::kill(child, SIGINT);
            interrupted = true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            break;
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(terminal);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// A folder with the video's place and a folder of programs that stands for PATH.
class VideoE2ETest : public ::testing::Test {
  protected:
    void SetUp() override { ::mkdir(folder.file("bin").c_str(), 0755); }
    // A stand-in for ffmpeg: a shell script given ffmpeg's arguments; "$out" is the file to write.
    void standIn(const std::string& body) const {
        const std::string script =
            folder.write("bin/ffmpeg", "#!/bin/sh\nfor out; do :; done\n" + body + "\n");
        ::chmod(script.c_str(), 0755);
    }
    std::string video(const std::string& name = "run.mp4") const { return folder.file("videos/" + name); }

    TempDir folder;
};

TEST_F(VideoE2ETest, AFailingInterruptedOrMissingFfmpegLeavesNoFileAndKeepsAnOldOne) {
    REQUIRE_DISPLAY();
    // 320x240 RGB frames, each larger than a pipe holds: a stand-in that stops reading holds the program up.
    const std::string frame = "/usr/bin/head -c 230400 >/dev/null";
    struct Case {
        const char* what;
        std::string standIn;  // empty: no ffmpeg on PATH
        bool oldFile;
        std::string interruptAt;
        int status;
        std::string said;
        std::string content;  // of run.mp4 after the run; empty: no file
    };
    const std::vector<Case> cases = {
        {"no ffmpeg", "", false, "", 1, kNotFound, ""},
        {"no ffmpeg, an old file", "", true, "", 1, kNotFound, "old"},
        {"ffmpeg refuses", "echo \"Unknown encoder 'libx264'\" >&2; exit 3", true, "", 1,
         "tessaron: Unable to write video: " + video() +
             ": ffmpeg failed with exit status 3: Unknown encoder 'libx264'",
         "old"},
        {"the disk fills up after a frame",
         frame +
             "; printf partial >\"$out\"; echo 'Error writing trailer: No space left on device' >&2; exit 1",
         false, "", 1, "ffmpeg failed with exit status 1: Error writing trailer: No space left on device",
         ""},
        {"Ctrl+C after the first frame", frame + "; printf partial >\"$out\"; exec /usr/bin/sleep 600", true,
         "Video: frame 1 of 6", 1, "tessaron: Video stopped: " + video() + " was not written", "old"},
        {"ffmpeg ends well", "/usr/bin/cat >/dev/null; printf whole >\"$out\"", true, "", 0,
         "Video written: " + video() + " (6 frames, 1 a second)", "whole"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(folder.file("videos"));
        std::filesystem::remove(folder.file("bin/ffmpeg"));
        ::mkdir(folder.file("videos").c_str(), 0755);
        if (c.oldFile) {
            folder.write("videos/run.mp4", "old");
        }
        if (!c.standIn.empty()) {
            standIn(c.standIn);
        }
        const TerminalRun run = runOnTerminal({"--video", video(), "--size", "320x240", kSample},
                                              folder.file("bin"), folder.path(), c.interruptAt);
        EXPECT_EQ(c.status, run.status) << c.what << "\n" << run.said;
        EXPECT_TRUE(contains(run.said, c.said)) << c.what << "\n" << run.said;
        const std::set<std::string> left = namesIn(folder.file("videos"));
        EXPECT_EQ(c.content.empty() ? std::set<std::string>{} : std::set<std::string>{"run.mp4"}, left)
            << c.what;
        if (!c.content.empty()) {
            EXPECT_EQ(c.content, readFile(video())) << c.what;
        }
    }
}

TEST_F(VideoE2ETest, EscapeStopsAVideoAsCtrlCDoes) {
    // The stand-in takes the first frame and no more: the program waits on the second when Escape comes.
    standIn("/usr/bin/head -c 230400 >/dev/null; printf partial >\"$out\"; exec /usr/bin/sleep 600");
    ::mkdir(folder.file("videos").c_str(), 0755);
    folder.write("videos/run.mp4", "old");
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (folder.file("bin") + ":" + path).c_str(), 1);
    AppSession app({"--video", video(), "--size", "320x240", kSample}, AppSession::ErrorOutput::Terminal);
    ::setenv("PATH", path.c_str(), 1);
    ASSERT_TRUE(app.started()) << app.errors();
    // A guard against a program that never gets there, not a verdict.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!contains(app.errors(), "Video: frame 1 of 6") && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(contains(app.errors(), "Video: frame 1 of 6")) << app.errors();
    app.key("Escape");
    EXPECT_EQ(1, app.waitForExit(60)) << app.errors();
    EXPECT_TRUE(contains(app.log(), "Video stopped: " + video() + " was not written\n")) << app.log();
    EXPECT_EQ(std::set<std::string>{"run.mp4"}, namesIn(folder.file("videos")));
    EXPECT_EQ("old", readFile(video()));
}

TEST_F(VideoE2ETest, ANameOfNoKnownFormatIsRefusedBeforeAnythingIsDrawn) {
    for (const char* name : {"run.avi", "run", "mp4", "run.mp4/"}) {
        ProgramRun run({"--video", name, kSample}, ProgramRun::Display::None);
        EXPECT_EQ(1, run.status()) << name;
        EXPECT_EQ(std::string("tessaron: --video ") + name + ": the name must end in .mp4, .webm or .gif\n",
                  run.err());
        EXPECT_FALSE(run.exists(name)) << name;
    }
}

// Frames and seconds as ffprobe reads them from the file.
struct Probe {
    int frames = 0;
    double seconds = 0.0;
};

Probe probe(const std::string& file) {
    Probe read;
    const std::string command =
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=nb_read_frames:format=duration -of default=nw=1 '" +
        file + "'";
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, pipe) != nullptr) {
            std::sscanf(line, "nb_read_frames=%d", &read.frames);
            std::sscanf(line, "duration=%lf", &read.seconds);
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
        const Probe read = probe(folder.file(c.name));
        EXPECT_EQ(c.frames, read.frames) << c.name;
        EXPECT_NEAR(c.seconds, read.seconds, 0.02) << c.name;
    }
}

TEST_F(VideoE2ETest, FramesTakeTheStepAndTheirVideoLineTheRate) {
    REQUIRE_DISPLAY();
    // life_20x20's event times are 100 to 500 ms: 0, 250 and 500 ms with a step of 250 ms.
    ProgramRun run({"--frames", folder.path(), "--step", "250ms", "--fps", "24", "--size", "64x48", kSample});
    ASSERT_EQ(0, run.status()) << run.err();
    EXPECT_TRUE(contains(run.out(), "Frames written: 3 into ")) << run.out();
    EXPECT_TRUE(contains(run.out(), "ffmpeg -framerate 24 -i ")) << run.out();
    EXPECT_EQ((std::set<std::string>{"bin", "frame_000001.png", "frame_000002.png", "frame_000003.png"}),
              namesIn(folder.path()));
}

}  // namespace
