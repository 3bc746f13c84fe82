#include "control/VCLogImport.h"

#include <cstdint>
#include <string>
#include <utility>

namespace {

// Lines read between two looks at the clock: a clock read costs about as much as a tenth of a line.
constexpr size_t kLinesPerLook = 64;

}  // namespace

VCLogImport::VCLogImport(VCModelList* models, VCEventList* events, std::string path,
                         SDModelStructure* structure, VCImportClock clock)
    : m_link(models, events), m_path(std::move(path)), m_clock(std::move(clock)), m_started(now()) {
    m_link.setStructure(structure);
}

std::chrono::steady_clock::time_point VCLogImport::now() const {
    return m_clock ? m_clock() : std::chrono::steady_clock::now();
}

bool VCLogImport::begin() {
    m_started = now();
    if (!m_link.beginLogFile(m_path)) {
        return false;
    }
    noteProgress();
    return true;
}

bool VCLogImport::readFor(double milliseconds) {
    return readUntil(milliseconds, [this] {
        const bool more = m_link.readLines(kLinesPerLook);
        noteProgress();
        return more;
    });
}

void VCLogImport::readAll() {
    while (m_link.readLines(SIZE_MAX)) {
    }
    noteProgress();
}

bool VCLogImport::end() {
    noteProgress();
    return m_link.endLogFile();
}

void VCLogImport::noteProgress() {
    if (!m_link.isLoading()) {
        return;
    }
    m_lines = m_link.linesRead();
    m_bytes = m_link.bytesRead();
    m_size = m_link.fileSize();
}

VCImportProgress VCLogImport::progress() const {
    VCImportProgress progress;
    progress.fileName = m_path;
    progress.lines = m_lines;
    progress.bytesRead = m_bytes;
    progress.fileSize = m_size;
    progress.elapsedMs = std::chrono::duration<double, std::milli>(now() - m_started).count();
    return progress;
}

std::string VCLogImport::cancelledText(long long lines) const {
    return "Import cancelled after " + std::to_string(lines) + " lines";
}
