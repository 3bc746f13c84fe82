#include "control/VCPlayback.h"

#include <cmath>

namespace {

// Shared by every playback of the process: a call back asked for by a controller that has been destroyed
// since must not match the token of a later one.
unsigned g_lastToken = 0;

}  // namespace

VCPlaybackTimer::~VCPlaybackTimer() = default;

VCPlayback::~VCPlayback() = default;

double VCPlayback::defaultRate(size_t steps) {
    const double rate = static_cast<double>(steps) / kShortestRun;
    return rate < 1.0 ? 1.0 : rate > kDefaultRate ? kDefaultRate : rate;
}

bool VCPlayback::isValidRate(double stepsPerSecond) {
    return stepsPerSecond >= kMinimumRate && stepsPerSecond <= kMaximumRate;
}

bool VCPlayback::start(double stepsPerSecond) {
    if (m_timer == nullptr || !isValidRate(stepsPerSecond)) {
        return false;
    }
    m_rate = stepsPerSecond;
    m_playing = true;
    // A new token: a call back of an earlier start, still outstanding, must not step as well.
    m_token = ++g_lastToken;
    scheduleAt(m_timer->now() + 1000.0 / m_rate);
    return true;
}

bool VCPlayback::stop() {
    const bool was = m_playing;
    m_playing = false;
    return was;
}

void VCPlayback::stepTaken() {
    if (!m_playing || m_timer == nullptr) {
        return;
    }
    // From the due time, not from now, so that the steps keep their rate; but never a time that has
    // passed, which would make the loop step again before it reads input.
    const double now = m_timer->now();
    const double next = m_due + 1000.0 / m_rate;
    scheduleAt(next > now ? next : now);
}

void VCPlayback::scheduleAt(double due) {
    m_due = due;
    const double delay = std::ceil(due - m_timer->now());
    m_timer->schedule(delay < 1.0 ? 1u : static_cast<unsigned>(delay), m_token);
}
