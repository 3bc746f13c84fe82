#include "simdata/SDEventList.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string_view>

namespace {

constexpr double kNoTime = -std::numeric_limits<double>::infinity();

}  // namespace

SDEventList::SDEventList() : m_latestTime(kNoTime), m_runEnd(kNoTime) {}

SDEventList::~SDEventList() = default;

bool SDEventList::addEvent(SDEvent* event) {
    if (event == nullptr) {
        return false;
    }
    std::unique_ptr<SDEvent> owned(event);
    addEventCopy(*owned);
    return true;
}

size_t SDEventList::addEventCopy(const SDEvent& event) {
    const std::string* texts[3] = {&event.m_source, &event.m_destination, &event.m_port};
    uint32_t ids[3];
    for (int i = 0; i < 3; ++i) {
        const uint32_t last = m_lastNames[i];
        ids[i] = last != UINT32_MAX && m_names.name(last) == *texts[i] ? last : m_names.intern(*texts[i]);
        m_lastNames[i] = ids[i];
    }
    Record record;
    record.time = event.m_time.getMilliseconds();
    record.value = event.m_value;
    record.source = ids[0];
    record.destination = ids[1];
    record.port = ids[2];
    record.type = event.m_type;
    return add(record);
}

void SDEventList::foreseeNames(uint32_t source, uint32_t destination, bool next) const {
    if (next) {
        m_names.prefetchName(source);
        m_names.prefetchName(destination);
    } else {
        m_names.prefetchSlot(source);
        m_names.prefetchSlot(destination);
    }
}

void SDEventList::setValue(size_t index, double value) {
    settle();
    if (index < m_records.size()) {
        m_records[index].value = value;
        ++m_revision;
    }
}

void SDEventList::extendRun(double milliseconds) {
    if (std::isfinite(milliseconds) && milliseconds > m_runEnd) {
        m_runEnd = milliseconds;
        ++m_revision;
    }
}

size_t SDEventList::add(const Record& record) {
    ++m_revision;
    double key = record.time;
    if (std::isnan(key)) {
        key = m_latestTime;
    } else if (key > m_latestTime) {
        m_latestTime = key;
    }
    if (m_pending.empty() && (m_records.empty() || key >= m_lastKey)) {
        m_records.push_back(record);
        m_lastKey = key;
        return m_records.size() - 1;
    }
    if (!m_pending.empty() && key < m_pending[m_pending.size() - 1].key) {
        m_pendingOrdered = false;
    }
    m_pending.push_back(Pending{key, record});
    return kUnplaced;
}

void SDEventList::mergePending() const {
    std::vector<Pending> sorted;
    if (!m_pendingOrdered) {
        sorted.reserve(m_pending.size());
        for (size_t i = 0; i < m_pending.size(); ++i) {
            sorted.push_back(m_pending[i]);
        }
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const Pending& a, const Pending& b) { return a.key < b.key; });
    }
    const auto pendingAt = [&](size_t index) -> const Pending& {
        return m_pendingOrdered ? m_pending[index] : sorted[index];
    };
    // An ordered event with a NaN time sits right after the events of the time it was given as its key,
    // so its key is the time of the nearest event before it that has one. Such events are rare: their
    // keys are noted once, by position.
    std::vector<std::pair<size_t, double>> nanKeys;
    double previous = kNoTime;
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (std::isnan(m_records[i].time)) {
            nanKeys.emplace_back(i, previous);
        } else {
            previous = m_records[i].time;
        }
    }
    auto keyOf = [&](size_t index) {
        const double time = m_records[index].time;
        if (!std::isnan(time)) {
            return time;
        }
        auto found = std::lower_bound(nanKeys.begin(), nanKeys.end(), std::make_pair(index, kNoTime));
        return found->second;
    };
    // Merged from the back into the grown array, so the ordered events are never held twice. On equal
    // keys the waiting event arrived later and goes behind.
    const double lastKey = std::max(m_lastKey, pendingAt(m_pending.size() - 1).key);
    size_t ordered = m_records.size();
    size_t waiting = m_pending.size();
    size_t out = ordered + waiting;
    m_records.resize(out);
    while (waiting > 0) {
        const Pending& next = pendingAt(waiting - 1);
        if (ordered > 0 && keyOf(ordered - 1) > next.key) {
            m_records[--out] = m_records[--ordered];
        } else {
            m_records[--out] = next.record;
            --waiting;
        }
    }
    m_lastKey = lastKey;
    m_pending.clear();
    m_pendingOrdered = true;
}

SDEvent SDEventList::eventAt(size_t index) const {
    const Record& held = record(index);
    SDEvent event;
    event.m_time = SDTime(held.time);
    event.m_type = held.type;
    event.m_source = m_names.name(held.source);
    event.m_destination = m_names.name(held.destination);
    event.m_port = m_names.name(held.port);
    event.m_value = held.value;
    return event;
}

void SDEventList::printAll() const {
    settle();
    for (size_t i = 0; i < m_records.size(); ++i) {
        const Record& held = m_records[i];
        SDEvent::printFields(held.type, SDTime(held.time), std::string(m_names.name(held.source)),
                             std::string(m_names.name(held.port)), held.value,
                             std::string(m_names.name(held.destination)));
    }
}

size_t SDEventList::memoryBytes() const {
    return m_records.memoryBytes() + m_pending.memoryBytes() + m_names.memoryBytes();
}
