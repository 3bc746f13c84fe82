#include "control/VCImport.h"

#include <chrono>
#include <utility>

VCImport::VCImport(std::string path, VCImportClock clock)
    : m_path(std::move(path)), m_clock(std::move(clock)), m_started(now()) {}

VCImport::~VCImport() = default;

std::chrono::steady_clock::time_point VCImport::now() const {
    return m_clock ? m_clock() : std::chrono::steady_clock::now();
}

void VCImport::noteRead(long long lines, uint64_t bytes, uint64_t size) {
    m_lines = lines;
    m_bytes = bytes;
    m_size = size;
}

VCImportProgress VCImport::progress() const {
    VCImportProgress progress;
    progress.fileName = m_path;
    progress.lines = m_lines;
    progress.bytesRead = m_bytes;
    progress.fileSize = m_size;
    progress.elapsedMs = std::chrono::duration<double, std::milli>(now() - m_started).count();
    return progress;
}

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
