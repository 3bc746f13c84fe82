#pragma once

#include <cstddef>
#include <memory>

// What playback needs from the program's main loop: a one-shot call back after a delay, and a steady clock.
// The program gives the controller one built on GLUT's timers; tests give it one they fire by hand.
class VCPlaybackTimer {
  public:
    virtual ~VCPlaybackTimer();
    // Asks for VCSimulation::playbackTimerFired(token) in `milliseconds` (at least 1). A call back cannot be
    // taken back: one for a playback that has ended since finds its token stale and does nothing.
    virtual void schedule(unsigned milliseconds, unsigned token) = 0;
    // Milliseconds on a clock that never goes back.
    virtual double now() const = 0;
};

// The pace of playback: whether it runs, how many steps a second, and when the next step is due. It steps
// nothing itself; the controller moves the time cursor when a step falls due.
//
// Only one call back is ever outstanding. The next one is asked for after a step has been taken, at the
// step's due time plus one interval, or at once (1 ms, so the main loop draws the step and reads input
// first) when that time has passed already: a step that takes longer than the interval slows playback
// down instead of piling steps up behind it.
class VCPlayback {
  public:
    static constexpr double kDefaultRate = 10.0;
    static constexpr double kMinimumRate = 0.1;
    static constexpr double kMaximumRate = 1000.0;
    static bool isValidRate(double stepsPerSecond);
    // The rate a run of `steps` steps plays at until one is given: kDefaultRate, or slower so that the run
    // lasts at least kShortestRun seconds, but never below one step a second.
    static constexpr double kShortestRun = 4.0;
    static double defaultRate(size_t steps);

    VCPlayback() = default;
    VCPlayback(const VCPlayback&) = delete;
    VCPlayback& operator=(const VCPlayback&) = delete;
    virtual ~VCPlayback();

    void setTimer(std::unique_ptr<VCPlaybackTimer> timer) { m_timer = std::move(timer); }
    VCPlaybackTimer* getTimer() const { return m_timer.get(); }

    bool isPlaying() const { return m_playing; }
    // The rate of the running playback, or the one the next start without a rate uses (the last one given).
    double getRate() const { return m_rate; }

    // Starts at `stepsPerSecond` (a valid rate), or changes the rate of a running playback; the first step
    // falls due one interval from now. False without a timer: nothing could ever step.
    bool start(double stepsPerSecond);
    // Returns whether it was playing. A call back already asked for stays, and finds its token stale.
    bool stop();
    // Whether a call back with this token belongs to the running playback: then a step is due now.
    bool isDue(unsigned token) const { return m_playing && token == m_token; }
    // After the due step: asks for the next call back.
    void stepTaken();

  private:
    void scheduleAt(double due);

    std::unique_ptr<VCPlaybackTimer> m_timer;
    bool m_playing = false;
    double m_rate = kDefaultRate;
    double m_due = 0.0;  // when the step asked for last falls due, on the timer's clock
    unsigned m_token = 0;
};
