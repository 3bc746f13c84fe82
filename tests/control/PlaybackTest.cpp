// Playback through the controller, with a timer the test fires by hand: the steps, their pace, the end of
// the run, and the ways playback stops.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "control/VCSimulation.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;

struct Request {
    unsigned delay;
    unsigned token;
};

// Keeps what was asked of it; its clock moves only when the test says so.
class HandTimer : public VCPlaybackTimer {
  public:
    HandTimer(std::vector<Request>* requests, const double* clock) : m_requests(requests), m_clock(clock) {}
    void schedule(unsigned delay, unsigned token) override { m_requests->push_back({delay, token}); }
    double now() const override { return *m_clock; }

  private:
    std::vector<Request>* m_requests;
    const double* m_clock;
};

class PlaybackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        simulation.setPlaybackTimer(std::make_unique<HandTimer>(&requests, &clock));
        log = dir.write("run.log",
                        "msg Y / 00:00:01:000 / grid(1,0)(09) / out / 1 to grid(02)\n"
                        "msg Y / 00:00:02:000 / grid(0,0)(04) / out / 2 to grid(02)\n"
                        "msg Y / 00:00:04:000 / grid(1,0)(09) / out / 3 to grid(02)\n");
        ASSERT_TRUE(simulation.newVisualization("run"));
        ASSERT_TRUE(simulation.importLogFile(log));
        rec.clear();
    }
    // The call back GLUT makes for the last request, `late` milliseconds after it fell due.
    bool fireLast(double late = 0.0) {
        clock += requests.back().delay + late;
        return simulation.playbackTimerFired(requests.back().token);
    }

    TempDir dir;
    std::string log;
    std::vector<Request> requests;
    double clock = 5000.0;
    VCSimulation simulation;
    LogRecorder rec;
};

TEST_F(PlaybackTest, StepsToEachEventTimeStopsAtTheLastAndStartsOverFromThere) {
    ASSERT_TRUE(simulation.play());
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ(1000u, requests[0].delay) << "3 steps: slowed to a step a second";
    EXPECT_TRUE(fireLast());
    EXPECT_TRUE(fireLast());
    EXPECT_TRUE(fireLast());
    EXPECT_FALSE(simulation.isPlaying());
    EXPECT_EQ(3u, requests.size()) << "one request per step, none after the last";
    EXPECT_EQ((Lines{"Playing at 1 steps per second", "Time incremented to: 00:00:01:000",
                     "Time incremented to: 00:00:02:000", "Time incremented to: 00:00:04:000",
                     "Playback finished at 00:00:04:000"}),
              rec.lines());

    rec.clear();
    ASSERT_TRUE(simulation.play(2.5));
    EXPECT_EQ(400u, requests.back().delay);
    EXPECT_EQ((Lines{"Time decremented to: 00:00:00:000", "Playing at 2.5 steps per second"}), rec.lines());
}

TEST(PlaybackRateTest, UntilARateIsGivenARunLastsAtLeastFourSecondsAtOneToTenStepsASecond) {
    struct Case {
        size_t steps;
        double rate;
    };
    for (const Case& c : {Case{0, 1}, Case{1, 1}, Case{4, 1}, Case{6, 1.5}, Case{20, 5}, Case{40, 10},
                          Case{41, 10}, Case{100000, 10}}) {
        EXPECT_EQ(c.rate, VCPlayback::defaultRate(c.steps)) << c.steps << " steps";
    }
}

TEST_F(PlaybackTest, ARateGivenOnceIsKeptAndAStartAtZeroIsNoStep) {
    ASSERT_TRUE(simulation.play(2.5));
    simulation.stopPlayback();
    rec.clear();
    ASSERT_TRUE(simulation.play());
    EXPECT_EQ((Lines{"Playing at 2.5 steps per second"}), rec.lines());
    simulation.stopPlayback();

    // Eight steps from the start, whose time 0 is itself an event time: 8 / 4 = 2 a second.
    std::string text;
    for (int second = 0; second <= 8; ++second) {
        text += "msg Y / 00:00:0" + std::to_string(second) + ":000 / grid(0,0)(03) / out / 1 to grid(02)\n";
    }
    simulation.closeVisualization();
    VCSimulation fresh;
    fresh.setPlaybackTimer(std::make_unique<HandTimer>(&requests, &clock));
    ASSERT_TRUE(fresh.newVisualization("nine"));
    ASSERT_TRUE(fresh.importLogFile(dir.write("nine.log", text)));
    rec.clear();
    ASSERT_TRUE(fresh.play());
    EXPECT_EQ((Lines{"Playing at 2 steps per second"}), rec.lines());
}

TEST_F(PlaybackTest, SlowStepsSlowPlaybackDownInsteadOfPilingUp) {
    ASSERT_TRUE(simulation.play(10));
    ASSERT_TRUE(fireLast(30));
    EXPECT_EQ(70u, requests.back().delay) << "the rest of the interval";
    // A frame that took 350 ms: the next step at once, and only one.
    ASSERT_TRUE(fireLast(350));
    EXPECT_EQ(1u, requests.back().delay);
    EXPECT_EQ(2000.0, simulation.currentTime());
}

TEST_F(PlaybackTest, NoStepReachesAStoppedPlaybackOrAClosedVisualization) {
    ASSERT_TRUE(simulation.play(1000));
    const unsigned first = requests.back().token;
    EXPECT_TRUE(simulation.stopPlayback());
    EXPECT_FALSE(simulation.playbackTimerFired(first));
    // Started again, the old call back still on its way does not step as well.
    ASSERT_TRUE(simulation.play());
    EXPECT_FALSE(simulation.playbackTimerFired(first));
    EXPECT_TRUE(fireLast());
    EXPECT_EQ(1000.0, simulation.currentTime());

    // A new import and a close stop it first.
    ASSERT_TRUE(simulation.importLogFile(log));
    EXPECT_FALSE(simulation.isPlaying());
    ASSERT_TRUE(simulation.play());
    const unsigned open = requests.back().token;
    simulation.closeVisualization();
    EXPECT_FALSE(simulation.playbackTimerFired(open));
    ASSERT_TRUE(simulation.newVisualization("next"));
    ASSERT_TRUE(simulation.importLogFile(log));
    EXPECT_FALSE(simulation.playbackTimerFired(open));
    EXPECT_EQ(0.0, simulation.currentTime());
    EXPECT_EQ(2, static_cast<int>(rec.count("Playback stopped at 00:00:01:000"))) << rec.text();

    simulation.closeVisualization();
    rec.clear();
    EXPECT_FALSE(simulation.play());
    EXPECT_EQ((Lines{"Nothing to play"}), rec.lines());
}

TEST_F(PlaybackTest, OnlyARunWithATimeAfterTheStartHasSomethingToPlay) {
    const struct {
        const char* log;
        const char* answer;
    } cases[] = {
        {"msg Y / 00:00:00:000 / grid(1,0)(09) / out / 1 to grid(02)\n"
         "msg X / 00:00:00:000 / grid(02) / neighborchange / 1 to grid(0,0)(04)\n",
         "Nothing to play"},
        {"msg Y / 00:00:00:000 / grid(1,0)(09) / out / 1 to grid(02)\n"
         "msg Y / 00:00:00:001 / grid(1,0)(09) / out / 2 to grid(02)\n",
         "Playing at 1 steps per second"},  // one step, slowed to last a second
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.log);
        simulation.closeVisualization();
        ASSERT_TRUE(simulation.newVisualization("one"));
        ASSERT_TRUE(simulation.importLogFile(dir.write("one.log", c.log)));
        requests.clear();
        rec.clear();
        const bool playing = std::string(c.answer) != "Nothing to play";
        EXPECT_EQ(playing, simulation.play());
        EXPECT_EQ(playing, simulation.isPlaying());
        EXPECT_EQ(playing ? 1u : 0u, requests.size());
        EXPECT_EQ((Lines{c.answer}), rec.lines());
    }
}

}  // namespace
