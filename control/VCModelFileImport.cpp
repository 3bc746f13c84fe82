#include "control/VCModelFileImport.h"

#include <cstdint>
#include <utility>

namespace {

// Lines read between two looks at the clock; a model file's lines are cheaper than a log's.
constexpr size_t kLinesPerLook = 256;

}  // namespace

VCModelFileImport::VCModelFileImport(SDDevsModelList& models, SDCouplings& couplings, std::string path,
                                     VCImportClock clock)
    : VCImport(std::move(path), std::move(clock)), m_link(models, couplings) {}

bool VCModelFileImport::begin() {
    startClock();
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
    noteRead(m_link.linesRead(), m_link.bytesRead(), m_link.fileSize());
}
