#include "simdata/SDModelStructure.h"

#include <limits>

void SDModelStructure::add(const SDLogMessage& message) {
    SDModelTree::Ends ends;
    if (!m_tree.add(message, ends)) {
        return;
    }
    double value = message.value;
    if (message.kind == SDLogMessage::Kind::Done) {
        value = message.passive ? std::numeric_limits<double>::infinity() : message.delay;
    }
    m_history.add(
        SDModelHistory::Line{message.time, value, ends.source, ends.destination, ends.slot, message.kind});
}

const SDModelHistory& SDModelStructure::history() {
    m_history.index(m_tree.size(), m_tree.slotCount());
    return m_history;
}

SDModelStructure::Activity SDModelStructure::activityAt(uint32_t model, double time) {
    const SDModelHistory& lines = history();
    if (lines.activeAt(model, time)) {
        return Activity::Active;
    }
    const SDModelHistory::Done done = lines.doneAt(model, time);
    if (!done.known) {
        return Activity::Unknown;
    }
    return done.passive ? Activity::Passive : Activity::Waiting;
}

bool SDModelStructure::hasAtomicModel() const {
    for (uint32_t node = 0; node < m_tree.size(); ++node) {
        if (m_tree.isAtomic(node)) {
            return true;
        }
    }
    return false;
}

SDBlockLook& SDModelStructure::look(const std::string& model) {
    ++m_lookChanges;
    std::unique_ptr<SDBlockLook>& held = m_looks[model];
    if (held == nullptr) {
        held = std::make_unique<SDBlockLook>();
    }
    return *held;
}

const SDBlockLook* SDModelStructure::findLook(std::string_view model) const {
    auto found = m_looks.find(model);
    return found == m_looks.end() ? nullptr : found->second.get();
}

SDBlockLook* SDModelStructure::findLook(std::string_view model) {
    auto found = m_looks.find(model);
    return found == m_looks.end() ? nullptr : found->second.get();
}
