#include "simdata/SDTime.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "shell/TextScan.h"

namespace {
constexpr long long kHour = 3600000;
constexpr long long kMinute = 60000;
constexpr long long kSecond = 1000;
}  // namespace

SDTime::~SDTime() = default;

void SDTime::setTime(int hours, int minutes, int seconds, int milliseconds) {
    long long sum =
        static_cast<long long>(milliseconds) + hours * kHour + minutes * kMinute + seconds * kSecond;
    m_milliseconds = static_cast<double>(sum);
}

void SDTime::parse(const std::string& text) {
    int values[4] = {0, 0, 0, 0};
    const char* p = text.c_str();
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (*p != ':') {
                break;
            }
            ++p;
        }
        if (!scanInt(p, values[i], &p)) {
            break;
        }
    }
    setTime(values[0], values[1], values[2], values[3]);
}

void SDTime::getComponents(int& hours, int& minutes, int& seconds, int& milliseconds) const {
    const double t = m_milliseconds;
    if (std::isnan(t)) {
        hours = minutes = seconds = milliseconds = 0;
        return;
    }
    const double h = std::floor(t / static_cast<double>(kHour));
    if (h > static_cast<double>(INT_MAX)) {
        hours = INT_MAX;
        minutes = 59;
        seconds = 59;
        milliseconds = 999;
        return;
    }
    if (h < static_cast<double>(INT_MIN)) {
        hours = INT_MIN;
        minutes = seconds = milliseconds = 0;
        return;
    }
    // Each whole unit is exact in a double (below 2^53), so the remainders lose nothing but rounding of t.
    long long units[3] = {static_cast<long long>(h), 0, 0};
    double r = t - static_cast<double>(units[0] * kHour);
    const long long sizes[3] = {kHour, kMinute, kSecond};
    for (int i = 1; i < 3; ++i) {
        units[i] = static_cast<long long>(std::floor(r / static_cast<double>(sizes[i])));
        // The remainder of the larger unit is below that unit, so minutes and seconds fall in 0 .. 59; a
        // rounding step at a unit's edge is kept from spilling out of that range.
        if (units[i] < 0) {
            units[i] = 0;
        } else if (units[i] >= sizes[i - 1] / sizes[i]) {
            units[i] = sizes[i - 1] / sizes[i] - 1;
        }
        r -= static_cast<double>(units[i] * sizes[i]);
    }
    hours = static_cast<int>(units[0]);
    minutes = static_cast<int>(units[1]);
    seconds = static_cast<int>(units[2]);
    milliseconds = r <= 0.0 ? 0 : (r >= 999.0 ? 999 : static_cast<int>(r));
}

std::string SDTime::toString() const {
    int h = 0, m = 0, s = 0, ms = 0;
    getComponents(h, m, s, ms);
    char text[48];
    int n = std::snprintf(text, sizeof text, "%02d:%02d:%02d:%03d", h, m, s, ms);
    return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}
