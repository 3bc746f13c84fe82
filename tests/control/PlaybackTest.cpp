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

// Keeps what was asked of it; the clock moves only when the test says so.
class HandTimer : public VCPlaybackTimer {
  public:
    explicit HandTimer(std::vector<Request>* requests, const double* clock)
        : m_requests(requests), m_clock(clock) {}
    void schedule(unsigned milliseconds, unsigned token) override {
        m_requests->push_back({milliseconds, token});
    }
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
    }
    void openRun() {
        ASSERT_TRUE(simulation.newVisualization("run"));
        ASSERT_TRUE(simulation.importLogFile(log));
        rec.clear();
    }
    // The call back GLUT would make for the last request, `late` milliseconds after it fell due.
    bool fireLast(double late = 0.0) {
        const Request last = requests.back();
        clock += last.delay + late;
        return simulation.playbackTimerFired(last.token);
    }

    TempDir dir;
    std::string log;
    std::vector<Request> requests;
    double clock = 5000.0;
    VCSimulation simulation;
    LogRecorder rec;
};

TEST_F(PlaybackTest, NothingToPlayWithoutAVisualizationOrEvents) {
    EXPECT_FALSE(simulation.play());
    EXPECT_EQ((Lines{"Nothing to play"}), rec.lines());
    ASSERT_TRUE(simulation.newVisualization("empty"));
    rec.clear();
    EXPECT_FALSE(simulation.play(20));
    EXPECT_EQ((Lines{"Nothing to play"}), rec.lines());
    EXPECT_FALSE(simulation.isPlaying());
    EXPECT_TRUE(requests.empty()) << "no timer while nothing plays";
    EXPECT_EQ(10.0, simulation.getPlaybackRate());
}

TEST_F(PlaybackTest, StepsToEachEventTimeAndStopsByItselfAtTheLast) {
    openRun();
    ASSERT_TRUE(simulation.play());
    EXPECT_TRUE(simulation.isPlaying());
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ(100u, requests[0].delay) << "10 steps a second";
    EXPECT_TRUE(fireLast());
    EXPECT_TRUE(fireLast());
    EXPECT_EQ(3u, requests.size()) << "one request per step, never more";
    EXPECT_TRUE(fireLast());
    EXPECT_FALSE(simulation.isPlaying());
    EXPECT_EQ(3u, requests.size()) << "no timer after the last time";
    EXPECT_EQ((Lines{"Playing at 10 steps per second", "Time incremented to: 00:00:01:000",
                     "Time incremented to: 00:00:02:000", "Time incremented to: 00:00:04:000",
                     "Playback finished at 00:00:04:000"}),
              rec.lines());

    // Played again from the last time, it starts over from the start.
    rec.clear();
    ASSERT_TRUE(simulation.play(2.5));
    EXPECT_EQ(400u, requests.back().delay);
    EXPECT_EQ((Lines{"Time decremented to: 00:00:00:000", "Playing at 2.5 steps per second"}), rec.lines());
    EXPECT_TRUE(fireLast());
    EXPECT_EQ(1000.0, simulation.currentTime());
    EXPECT_EQ(2.5, simulation.getPlaybackRate()) << "kept for the next start without a rate";
}

TEST_F(PlaybackTest, SlowStepsSlowPlaybackDownInsteadOfPilingUp) {
    openRun();
    ASSERT_TRUE(simulation.play(10));
    // On time, the next step is due one interval after the last was due.
    ASSERT_TRUE(fireLast(0));
    EXPECT_EQ(100u, requests.back().delay);
    // A little late: the rest of the interval.
    ASSERT_TRUE(fireLast(30));
    EXPECT_EQ(70u, requests.back().delay);
    // Later than a whole interval (a frame that took 350 ms): at once, and only one step.
    simulation.stopPlayback();
    simulation.timeFirst();
    ASSERT_TRUE(simulation.play(10));
    ASSERT_TRUE(fireLast(350));
    EXPECT_EQ(1u, requests.back().delay);
    EXPECT_EQ(1000.0, simulation.currentTime()) << "one step for one call back, however late";
}

TEST_F(PlaybackTest, CallBacksOfAStoppedPlaybackDoNothing) {
    openRun();
    ASSERT_TRUE(simulation.play(1000));
    EXPECT_EQ(1u, requests.back().delay);
    const unsigned first = requests.back().token;
    EXPECT_TRUE(simulation.stopPlayback());
    EXPECT_FALSE(simulation.stopPlayback()) << "stopping twice";
    EXPECT_FALSE(simulation.playbackTimerFired(first));
    EXPECT_EQ(0.0, simulation.currentTime());

    // A new start: the old call back, still on its way, does not step as well.
    ASSERT_TRUE(simulation.play());
    EXPECT_FALSE(simulation.playbackTimerFired(first));
    EXPECT_TRUE(fireLast());
    EXPECT_EQ(1000.0, simulation.currentTime());
    EXPECT_EQ((Lines{"Playing at 1000 steps per second", "Playback stopped at 00:00:00:000",
                     "Playing at 1000 steps per second", "Time incremented to: 00:00:01:000"}),
              rec.lines());
}

TEST_F(PlaybackTest, ANewRateWhilePlayingTakesOverTheSchedule) {
    openRun();
    ASSERT_TRUE(simulation.play(10));
    const unsigned slow = requests.back().token;
    ASSERT_TRUE(simulation.play(50));
    EXPECT_EQ(20u, requests.back().delay);
    EXPECT_FALSE(simulation.playbackTimerFired(slow));
    EXPECT_TRUE(fireLast());
    EXPECT_EQ(20u, requests.back().delay);
}

TEST_F(PlaybackTest, ClosingAndImportingStopPlaybackFirst) {
    openRun();
    ASSERT_TRUE(simulation.play());
    ASSERT_TRUE(fireLast());
    const unsigned pending = requests.back().token;
    ASSERT_TRUE(simulation.importLogFile(log));
    EXPECT_FALSE(simulation.isPlaying());
    EXPECT_TRUE(rec.contains("Playback stopped at 00:00:01:000")) << rec.text();
    EXPECT_FALSE(simulation.playbackTimerFired(pending));

    ASSERT_TRUE(simulation.play());
    const unsigned open = requests.back().token;
    rec.clear();
    simulation.closeVisualization();
    EXPECT_EQ("Playback stopped at 00:00:01:000", rec.lines().front());
    EXPECT_FALSE(simulation.isPlaying());
    // No step reaches a closed visualization, nor the next one opened.
    EXPECT_FALSE(simulation.playbackTimerFired(open));
    ASSERT_TRUE(simulation.newVisualization("next"));
    ASSERT_TRUE(simulation.importLogFile(log));
    EXPECT_FALSE(simulation.playbackTimerFired(open));
    EXPECT_EQ(0.0, simulation.currentTime());
}

TEST_F(PlaybackTest, RatesOutsideTheRangeAreRefused) {
    openRun();
    EXPECT_FALSE(simulation.play(0.05));
    EXPECT_FALSE(simulation.play(1000.5));
    EXPECT_FALSE(simulation.isPlaying());
    EXPECT_TRUE(requests.empty());
    EXPECT_TRUE(simulation.play(0.1));
    EXPECT_EQ(10000u, requests.back().delay);
}

TEST(PlaybackWithoutTimerTest, AControllerWithoutTimerCannotPlay) {
    LogRecorder rec;
    TempDir dir;
    VCSimulation simulation;
    ASSERT_TRUE(simulation.newVisualization("v"));
    ASSERT_TRUE(
        simulation.importLogFile(dir.write("one.log", "msg Y / 00:00:01:000 / c(0)(1) / out / 1 to c(2)\n")));
    rec.clear();
    EXPECT_FALSE(simulation.play());
    EXPECT_FALSE(simulation.isPlaying());
    EXPECT_EQ((Lines{"Unable to play: the program has no timer for playback"}), rec.lines());
}

}  // namespace
