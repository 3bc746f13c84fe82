#include "control/VCModelFileImport.h"

#include <cstdint>
#include <utility>

namespace {

// Lines read between two looks at the clock; a model file's lines are cheaper than a log's.
constexpr size_t kLinesPerLook = 256;

}  // namespace

VCModelFileImport::VCModelFileImport(SDDevsModelList& models, SDCouplings& couplings, std::string path,
                                     VCImportClock clock)
    : m_link(models, couplings), m_path(std::move(path)), m_clock(std::move(clock)), m_started(now()) {}

std::chrono::steady_clock::time_point VCModelFileImport::now() const {
    return m_clock ? m_clock() : std::chrono::steady_clock::now();
}

bool VCModelFileImport::begin() {
    m_started = now();
    m_whole = false;
    if (!m_link.begin(m_path)) {
        return false;
    }
    noteProgress();
    return true;
}

bool VCModelFileImport::readFor(double milliseconds) {
    const bool more = readUntil(milliseconds, [this] {
        const bool some = m_link.readLines(kLinesPerLook);
        noteProgress();
        return some;
    });
    m_whole = m_link.isReading() && !more;
    return more;
}

void VCModelFileImport::readAll() {
    while (m_link.readLines(SIZE_MAX)) {
    }
    noteProgress();
    m_whole = m_link.isReading();
}

bool VCModelFileImport::end() {
    noteProgress();
    if (!m_link.isReading()) {
        return false;
    }
    if (m_whole) {
        m_link.finish();
    } else {
        m_link.stop();
    }
    return m_whole;
}

std::string VCModelFileImport::cancelledText(long long lines) const {
    return "Model file " + m_path + " cancelled after " + std::to_string(lines) +
           " lines: nothing of it was applied";
}

void VCModelFileImport::noteProgress() {
    if (!m_link.isReading()) {
        return;
    }
    m_lines = m_link.linesRead();
    m_bytes = m_link.bytesRead();
    m_size = m_link.fileSize();
}

VCImportProgress VCModelFileImport::progress() const {
    VCImportProgress progress;
    progress.fileName = m_path;
    progress.lines = m_lines;
    progress.bytesRead = m_bytes;
    progress.fileSize = m_size;
    progress.elapsedMs = std::chrono::duration<double, std::milli>(now() - m_started).count();
    return progress;
}
