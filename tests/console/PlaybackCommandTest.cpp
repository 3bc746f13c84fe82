// "play" and "stop": what they accept and what they answer, in the console and the log file.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "shell/EngineVariables.h"
#include "shell/Log.h"
#include "tests/console/CommandFixture.h"
#include "tests/support/TempDir.h"

namespace {

// A timer that never fires: the commands only start and stop.
class IdleTimer : public VCPlaybackTimer {
  public:
    void schedule(unsigned, unsigned) override {}
    double now() const override { return 0.0; }
};

class PlaybackCommandTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        getEngineVariables()->setBool("console_logging", true);
        getSimulation()->setPlaybackTimer(std::make_unique<IdleTimer>());
    }
    TempDir dir;
};

TEST_F(PlaybackCommandTest, RatesFromATenthToAThousandAndNothingElse) {
    for (const char* good : {"play", "play 0.1", "play 1000", "play .5", "play 1e3"}) {
        EXPECT_EQ("Starting playback...", check(good)) << good;
    }
    for (const char* bad : {"play 0.09", "play 1000.5", "play -5", "play 5x", "play nan", "play inf",
                            "play 0x10", "play .", "play 1 2"}) {
        EXPECT_EQ("usage: play [$steps_per_second from 0.1 to 1000]", check(bad)) << bad;
        EXPECT_EQ(nullptr, parsed) << bad;
    }
    EXPECT_EQ("usage: stop", check("stop now"));
}

TEST_F(PlaybackCommandTest, PlayAndStopAnswerInTheConsoleAndTheLogFile) {
    TempDir work(true);
    logdetail::forgetLogFile();
    resetLog();
    getEngineVariables()->setBool("file_logging", true);
    EXPECT_EQ((Lines{"Nothing to play"}), run("play"));
    EXPECT_EQ((Lines{"Nothing is playing"}), run("stop"));
    run("vis_new run");
    run("vis_import_logfile " + dir.write("run.log", "msg Y / 00:00:01:000 / c(0)(1) / out / 1 to c(2)\n"));
    EXPECT_EQ((Lines{"Playing at 250 steps per second"}), run("play 250"));
    EXPECT_EQ((Lines{"Playback stopped at 00:00:00:000"}), run("stop"));
    EXPECT_EQ((Lines{"Playing at 250 steps per second"}), run("play")) << "the rate given last";
    flushLog();  // as the GLUT callback that ran the commands does when it returns
    const std::string file = readFile(work.file("log.txt"));
    for (const char* line : {"Starting playback...", "Nothing to play", "Stopping playback...",
                             "Nothing is playing", "Playing at 250 steps per second"}) {
        EXPECT_NE(std::string::npos, file.find(std::string(line) + "\n")) << line << "\n" << file;
    }
    getEngineVariables()->removeVariable("file_logging");
    logdetail::forgetLogFile();
}

}  // namespace
