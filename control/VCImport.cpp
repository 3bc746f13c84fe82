#include "control/VCImport.h"

#include <chrono>

VCImport::~VCImport() = default;

bool VCImport::readUntil(double milliseconds, const std::function<bool()>& readSome) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        Clock::now() +
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(milliseconds));
    bool more = true;
    do {
        more = readSome();
    } while (more && Clock::now() < deadline);
    return more;
}
