#include "shell/app/FrameWalk.h"

#include <algorithm>

namespace {

constexpr double kShortestVideo = 4.0;  // seconds
constexpr int kFastestDefaultRate = 30;

// Times are whole milliseconds in practice; this keeps a step that lands on the end from being lost to
// rounding.
constexpr double kSlack = 1e-6;

}  // namespace

FrameWalk::FrameWalk(int every, double step, double from)
    : m_every(every < 1 ? 1 : every), m_step(step > 0.0 ? step : 0.0), m_from(from) {}

long FrameWalk::firstIndex(FrameClock& clock, size_t times) const {
    if (!(m_from >= clock.timeAt(0))) {
        return -1;
    }
    // The latest event time at or before `from`.
    size_t low = 0;
    size_t high = times;
    while (high - low > 1) {
        const size_t middle = low + (high - low) / 2;
        if (clock.timeAt(middle) <= m_from) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return static_cast<long>(low);
}

double FrameWalk::firstTime(FrameClock& clock, size_t times) const {
    const double start = std::min(0.0, clock.timeAt(0));
    const double end = clock.timeAt(times - 1);
    return std::min(end, std::max(start, m_from));
}

size_t FrameWalk::count(FrameClock& clock) {
    const size_t times = clock.count();
    if (times == 0) {
        return 0;
    }
    if (m_step > 0.0) {
        const double first = firstTime(clock, times);
        const double span = clock.timeAt(times - 1) - first;
        const auto steps = static_cast<size_t>(std::floor(span / m_step + kSlack));
        const bool endsOnAStep = span - static_cast<double>(steps) * m_step <= kSlack;
        return steps + 1 + (endsOnAStep ? 0 : 1);
    }
    const long first = firstIndex(clock, times);
    const bool start = first < 0 && clock.toStart();
    const size_t from = first < 0 ? 0 : static_cast<size_t>(first);
    const size_t every = static_cast<size_t>(m_every);
    const size_t walked = times - from;
    const size_t picked = (walked + every - 1) / every + ((walked - 1) % every != 0 ? 1 : 0);
    return picked + (start ? 1 : 0);
}

bool FrameWalk::walk(FrameClock& clock, const Visitor& visit, std::string& error) {
    const size_t times = clock.count();
    if (times == 0) {
        error = "the run has no event times";
        return false;
    }
    return m_step > 0.0 ? walkSteps(clock, times, visit, error) : walkEvents(clock, times, visit, error);
}

bool FrameWalk::walkEvents(FrameClock& clock, size_t times, const Visitor& visit, std::string& error) {
    int number = 0;
    const long first = firstIndex(clock, times);
    // The state the run starts from comes first, when an event time does not show it already.
    if (first < 0 && clock.toStart()) {
        if (!visit(++number, 0.0, error)) {
            return false;
        }
    }
    const size_t from = first < 0 ? 0 : static_cast<size_t>(first);
    if (!clock.goTo(from)) {
        error = "the time cursor cannot go to the first event time";
        return false;
    }
    const size_t every = static_cast<size_t>(m_every);
    for (size_t index = from; index < times; ++index) {
        if ((index - from) % every == 0 || index + 1 == times) {
            if (!visit(++number, clock.timeAt(index), error)) {
                return false;
            }
        }
        if (index + 1 < times && !clock.next()) {
            error = "the time cursor stopped before the last event time";
            return false;
        }
    }
    return true;
}

bool FrameWalk::walkSteps(FrameClock& clock, size_t times, const Visitor& visit, std::string& error) {
    const double first = firstTime(clock, times);
    const double end = clock.timeAt(times - 1);
    int number = 0;
    for (size_t k = 0;; ++k) {
        double time = first + static_cast<double>(k) * m_step;
        const bool last = time >= end - kSlack;
        if (last) {
            time = end;
        }
        if (!clock.goToTime(time)) {
            error = "the time cursor cannot go to the frame's time";
            return false;
        }
        if (!visit(++number, time, error)) {
            return false;
        }
        if (last) {
            return true;
        }
    }
}

int defaultFrameRate(size_t frames) {
    const auto rate = static_cast<int>(std::min<size_t>(frames / static_cast<size_t>(kShortestVideo),
                                                        static_cast<size_t>(kFastestDefaultRate)));
    return std::max(rate, 1);
}
