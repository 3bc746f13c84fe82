// The frames a picture run draws: which times, how many, and at what rate a video of them plays.
#include "shell/app/FrameWalk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A run with the given event times (ms); the cursor stands at -1 (the start) or an event time's index.
class TimesClock : public FrameClock {
  public:
    explicit TimesClock(std::vector<double> times) : m_times(std::move(times)) {}
    size_t count() override { return m_times.size(); }
    double timeAt(size_t index) override { return m_times.at(index); }
    bool goTo(size_t index) override {
        m_at = static_cast<long>(index);
        return index < m_times.size();
    }
    bool goToTime(double milliseconds) override {
        m_at = -1;
        while (m_at + 1 < static_cast<long>(m_times.size()) &&
               m_times[static_cast<size_t>(m_at + 1)] <= milliseconds) {
            ++m_at;
        }
        return true;
    }
    bool next() override { return ++m_at < static_cast<long>(m_times.size()); }
    bool toStart() override {
        if (m_times.empty() || !(m_times[0] > 0.0)) {
            return false;
        }
        m_at = -1;
        return true;
    }
    // What the picture shows: "start" or the event time the cursor stands at.
    std::string shown() const {
        return m_at < 0 ? "start" : std::to_string(static_cast<int>(m_times[static_cast<size_t>(m_at)]));
    }

  private:
    std::vector<double> m_times;
    long m_at = 99;
};

// The frames of a walk from `from`, a frame's time and what its picture shows written "time:shown".
TEST(FrameWalkTest, FramesOfEventTimesOrOfSteadySteps) {
    const double run = -HUGE_VAL;
    const struct {
        const char* what;
        std::vector<double> times;
        int every;
        double step, from;
        const char* frames;
    } cases[] = {
        {"the start, then every event time", {100, 200, 300}, 1, 0, run, "0:start 100:100 200:200 300:300"},
        {"a run from its first event time: no start", {0, 50, 90}, 2, 0, run, "0:0 90:90"},
        {"every 3rd event time, and the last", {10, 20, 30, 40, 50}, 3, 0, run, "0:start 10:10 40:40 50:50"},
        {"from a time between two event times: the earlier one", {10, 20, 30, 40}, 2, 0, 25, "20:20 40:40"},
        {"steps from the start: latest event",
         {100, 250, 400},
         1,
         100,
         run,
         "0:start 100:100 200:100 300:250 400:400"},
        {"steps that miss the end end on it", {100, 250}, 1, 100, run, "0:start 100:100 200:100 250:250"},
        {"a step longer than the run: the start and the end", {30}, 1, 1000, run, "0:start 30:30"},
        {"steps from a later time", {100, 200, 300, 400}, 1, 150, 120, "120:100 270:200 400:400"},
        {"from the end: the last time alone", {100, 200}, 1, 50, HUGE_VAL, "200:200"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TimesClock clock(c.times);
        FrameWalk walk(c.every, c.step, c.from);
        std::string seen;
        int number = 0;
        std::string error;
        EXPECT_TRUE(walk.walk(
            clock,
            [&](int frame, double time, std::string&) {
                EXPECT_EQ(++number, frame);
                seen +=
                    (seen.empty() ? "" : " ") + std::to_string(static_cast<int>(time)) + ":" + clock.shown();
                return true;
            },
            error))
            << error;
        EXPECT_EQ(c.frames, seen);
        EXPECT_EQ(static_cast<size_t>(number), walk.count(clock));
    }
}

TEST(FrameWalkTest, AVideoLastsAtLeastFourSecondsAtOneToThirtyFramesASecond) {
    // frames -> frames a second
    const std::vector<std::pair<size_t, int>> cases = {{0, 1},   {3, 1},    {7, 1},    {8, 2},
                                                       {41, 10}, {120, 30}, {121, 30}, {5000, 30}};
    for (const auto& [frames, rate] : cases) {
        EXPECT_EQ(rate, defaultFrameRate(frames)) << frames << " frames";
    }
}

}  // namespace
