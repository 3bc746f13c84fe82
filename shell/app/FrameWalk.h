#pragma once

#include <cmath>
#include <cstddef>
#include <functional>
#include <string>

// The run's event times as a frame sequence walks them; in the program, the time cursor of the controller.
class FrameClock {
  public:
    virtual ~FrameClock() = default;
    // How many distinct event times the run has.
    virtual size_t count() = 0;
    // The event time of that index, in milliseconds.
    virtual double timeAt(size_t index) = 0;
    // To the event time of that index.
    virtual bool goTo(size_t index) = 0;
    // To the latest time at or before `milliseconds` that the run can be shown at (the start, or an event
    // time).
    virtual bool goToTime(double milliseconds) = 0;
    // To the next event time.
    virtual bool next() = 0;
    // To the start of the run (00:00:00:000) when it comes before the first event time, and true; false
    // when the run starts at its first event time (or earlier), which then shows the start.
    virtual bool toStart() { return false; }
};

// The frames of a picture run, in order: the start of the run and one frame per `every` event times and
// one of the last; or, with a step, one frame per step of simulated time from the run's start (00:00:00:000,
// or its first event time when that is earlier) to its last event time, and one of the last time when the
// steps do not end on it. A steady clock: each frame lasts as long in the video.
//
// `from` (milliseconds) starts the walk later: at the latest event time at or before it, or at that time
// itself with a step. The default starts at the run's start.
class FrameWalk {
  public:
    // Is told each frame once the clock shows it: its number (from 1) and the simulated time it stands for.
    // False, with `error`, ends the walk.
    using Visitor = std::function<bool(int number, double time, std::string& error)>;

    explicit FrameWalk(int every, double step = 0.0, double from = -HUGE_VAL);

    // How many frames the walk has; moves the clock to the start of the run. 0 for a run without event
    // times.
    size_t count(FrameClock& clock);
    // Moves the clock to each frame's time and visits it. False, with `error`, for a run without event
    // times, a clock that cannot move or a visit that fails; the frames visited before stay visited.
    bool walk(FrameClock& clock, const Visitor& visit, std::string& error);

  private:
    // The event index the walk starts at: -1 for the start of the run.
    long firstIndex(FrameClock& clock, size_t times) const;
    // With a step: the first frame's time, clamped to the run.
    double firstTime(FrameClock& clock, size_t times) const;
    bool walkEvents(FrameClock& clock, size_t times, const Visitor& visit, std::string& error);
    bool walkSteps(FrameClock& clock, size_t times, const Visitor& visit, std::string& error);

    int m_every;
    double m_step;
    double m_from;
};

// The frame rate a video of `frames` frames plays at unless one is given: as playback paces a short run,
// slow enough that it lasts at least 4 seconds, but at least one frame and at most 30 frames a second.
int defaultFrameRate(size_t frames);
