#include "control/VCImportSummary.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "control/VCImportProgress.h"
#include "shell/Log.h"
#include "simdata/SDTime.h"

VCImportSummary::VCImportSummary(bool everyMessage) : m_everyMessage(everyMessage) {}

bool VCImportSummary::holdsLines(long long messages) const {
    return !m_everyMessage && messages >= kLoggedMessages;
}

size_t VCImportSummary::linesToNextMark(long long messages) const {
    if (m_everyMessage) {
        return SIZE_MAX;
    }
    return messages < m_nextMark ? static_cast<size_t>(m_nextMark - messages) : 1;
}

void VCImportSummary::note(long long messages, double latestMs) {
    if (m_everyMessage) {
        return;
    }
    // A reader that hands on its messages late (the first time of separated values) may pass several marks
    // in one read: each still gets its line.
    while (messages >= m_nextMark) {
        if (m_nextMark > kLoggedMessages) {
            std::string line = "Imported " + groupThousands(m_nextMark) + " messages";
            if (std::isfinite(latestMs)) {
                line += ", up to " + SDTime(latestMs).toString();
            }
            logText(line);
        }
        m_nextMark += kEvery;
    }
}

void VCImportSummary::end(long long messages) const {
    if (!m_everyMessage && messages > kLoggedMessages) {
        logText("Imported " + groupThousands(messages) + " messages; the lines of the first " +
                groupThousands(kLoggedMessages) + " are in the log (--log-every-message writes all)");
    }
}
