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
    : VCImport(std::move(path), std::move(clock)), m_link(models, events) {
    m_link.setStructure(structure);
}

bool VCLogImport::begin() {
    startClock();
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
    noteRead(m_link.linesRead(), m_link.bytesRead(), m_link.fileSize());
}

std::string VCLogImport::cancelledText(long long lines) const {
    return "Import cancelled after " + std::to_string(lines) + " lines";
}
