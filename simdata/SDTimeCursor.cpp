#include "simdata/SDTimeCursor.h"

#include "simdata/SDEvent.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <limits>
#include <string_view>
#include <thread>

#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDCellName.h"
#include "simdata/SDCellValues.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDSplitWork.h"

namespace {

// Marks in the per-source table beside a cell's value number (kNone: the source updates nothing).
constexpr uint32_t kPlainSource = SDTimeCursor::kNone - 1;
// Value numbers stay below the marks.
constexpr uint64_t kMaxSlots = kPlainSource - 1;

// Fewest names or events worth a second thread when the index is built.
constexpr size_t kSplitLeast = 65536;

// Fewest updates between two checkpoints: a small run needs none.
constexpr uint32_t kMinInterval = 1024;

}  // namespace

SDTimeCursor::SDTimeCursor(const SDEventList& events, SDDevsModelList& models)
    : m_events(events), m_models(models) {}

SDTimeCursor::~SDTimeCursor() = default;

bool SDTimeCursor::next() {
    sync();
    if (m_position + 1 >= positionCount()) {
        return false;
    }
    return moveTo(m_position + 1);
}

bool SDTimeCursor::previous() {
    sync();
    if (m_position == 0) {
        return false;
    }
    return moveTo(m_position - 1);
}

bool SDTimeCursor::first() {
    sync();
    return moveTo(0);
}

bool SDTimeCursor::last() {
    sync();
    return moveTo(positionCount() - 1);
}

bool SDTimeCursor::goTo(double milliseconds) {
    sync();
    if (std::isnan(milliseconds)) {
        return false;
    }
    return moveTo(positionOf(milliseconds));
}

size_t SDTimeCursor::timeCount() {
    sync();
    return m_times.size();
}

double SDTimeCursor::timeAt(size_t index) {
    sync();
    return index < m_times.size() ? m_times[index] : std::numeric_limits<double>::quiet_NaN();
}

long SDTimeCursor::currentTimeIndex() {
    sync();
    const auto after = std::upper_bound(m_times.begin(), m_times.end(), m_time);
    return static_cast<long>(after - m_times.begin()) - 1;
}

bool SDTimeCursor::canPlay() {
    sync();
    return m_position + 1 < positionCount();
}

bool SDTimeCursor::hasTimesToPlay() {
    sync();
    return positionCount() > 1;
}

bool SDTimeCursor::output(const std::string& model, const std::string& port, double& value,
                          uint32_t& timeIndex) {
    sync();
    const SDNameTable& names = m_events.getNames();
    uint32_t source = 0;
    uint32_t portName = 0;
    if (!names.find(model, source) || !names.find(port, portName)) {
        return false;
    }
    auto found = m_portSlots.find(static_cast<uint64_t>(source) << 32 | portName);
    if (found == m_portSlots.end() || m_ports[found->second].timeIndex == kNone) {
        return false;
    }
    value = m_ports[found->second].value;
    timeIndex = m_ports[found->second].timeIndex;
    return true;
}

void SDTimeCursor::cellsChangedNow(const SDCellValues* values, std::vector<uint32_t>& cells) {
    sync();
    cells.clear();
    const CellModel* model = nullptr;
    for (const CellModel& candidate : m_cellModels) {
        if (candidate.values == values) {
            model = &candidate;
        }
    }
    if (model == nullptr || positionCount() == 0) {
        return;
    }
    const uint32_t first = m_position == 0 ? 0 : updatesAt(m_position - 1);
    const uint32_t last = updatesAt(m_position);
    for (uint32_t update = first; update < last; ++update) {
        const uint32_t slot = m_updateSlot[update];
        if (slot >= model->base && slot - model->base < model->count) {
            cells.push_back(slot - model->base);
        }
    }
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
}

void SDTimeCursor::sync() {
    if (stale()) {
        rebuild();
    }
}

bool SDTimeCursor::stale() const {
    if (!m_built || m_events.revision() != m_eventsRevision || m_models.revision() != m_modelsRevision) {
        return true;
    }
    // A registered record that grows renumbers its cells.
    for (const CellModel& cells : m_cellModels) {
        if (cells.model->getWidth() != cells.width || cells.model->getHeight() != cells.height ||
            cells.model->getLength() != cells.length || cells.model->getOrigin() != cells.origin ||
            cells.model->getInitialRevision() != cells.initialRevision) {
            return true;
        }
    }
    return false;
}

void SDTimeCursor::rebuild() {
    m_built = true;
    m_eventsRevision = m_events.revision();
    m_modelsRevision = m_models.revision();
    numberValues();
    const size_t updateCount = sizeIndex();
    fillIndex(updateCount);
    decltype(m_eventSlots)().swap(m_eventSlots);
    m_startIndex =
        static_cast<size_t>(std::lower_bound(m_times.begin(), m_times.end(), 0.0) - m_times.begin());
    m_startIsEventTime = m_startIndex < m_times.size() && m_times[m_startIndex] == 0.0;

    // The current time stays (it is still a position: events are only ever added); its values are
    // worked out again from the new index.
    m_applied = 0;
    m_position = positionOf(m_time);
    m_time = positionTime(m_position);
    applyUpTo(updatesAt(m_position));
}

void SDTimeCursor::numberValues() {
    // Every cell of every Cell-DEVS model gets a value number; the values start empty. Ports are numbered
    // after the cells as the events name them.
    m_cellModels.clear();
    uint64_t slots = 0;
    for (const auto& entry : m_models.getModels()) {
        auto* cells = dynamic_cast<SDCELLDevsModel*>(entry.second.get());
        if (cells == nullptr) {
            continue;
        }
        SDCellValues& values = cells->getValues();
        values.clearAll();
        values.resetRange();
        if (const SDInitialValues* initial = cells->getInitialValues()) {
            // Each cell's initial value counts once in the spread of the model's values.
            initial->forEachValue(values.size(),
                                  [&values](double value, size_t count) { values.widenRange(value, count); });
        }
        if (slots + values.size() >= kMaxSlots) {
            continue;  // beyond what can be numbered; such a model shows no values
        }
        m_cellModels.push_back(CellModel{cells, &values, static_cast<uint32_t>(slots),
                                         static_cast<uint32_t>(values.size()), cells->getWidth(),
                                         cells->getHeight(), cells->getLength(), cells->getOrigin(),
                                         cells->getInitialRevision()});
        slots += values.size();
    }
    m_cellSlots = static_cast<uint32_t>(slots);
    m_ports.clear();
    m_portSlots.clear();
    const SDNameTable& names = m_events.getNames();
    m_outPort = kNone;
    names.find("out", m_outPort);
    m_stateValues = false;
    for (size_t i = 0; i < m_events.size() && !m_stateValues; ++i) {
        m_stateValues = m_events.record(i).type == SDEvent::kStateType;
    }
    resolveSources();
}

void SDTimeCursor::resolveSources() {
    // Every name at once, a million cell names split between two threads: each name is read on its own.
    const SDNameTable& names = m_events.getNames();
    m_sourceSlots.assign(names.size(), kNone);
    SDSplitWork::run(names.size(), kSplitLeast, [this, &names](size_t, size_t begin, size_t end) {
        CellLookup lookup;
        for (size_t id = begin; id < end; ++id) {
            m_sourceSlots[id] = cellSlotOf(names.name(static_cast<uint32_t>(id)), lookup);
        }
    });
}

size_t SDTimeCursor::sizeIndex() {
    // Finds the value number each event updates and counts the times and the updates, then allocates the
    // index at its exact size. The events are read by two threads, each with half of them; the values of
    // plain models' ports are numbered afterwards, in event order, as they first appear.
    const size_t eventCount = m_events.size();
    if (eventCount > 0) {
        // Merges the events that came out of order before two threads read the list.
        m_events.record(0);
    }
    // Each event's slot is written by the thread that reads it, which also first touches its pages.
    decltype(m_eventSlots)(eventCount).swap(m_eventSlots);
    struct Part {
        size_t times = 0;  // runs of one time; a run cut by the halves' border counts in both
        double lastTime = 0.0;
        size_t cellUpdates = 0;
        std::vector<size_t> portEvents;  // events of plain models' ports, in order
    };
    Part parts[SDSplitWork::kMaxParts];
    const size_t partCount =
        SDSplitWork::run(eventCount, kSplitLeast, [this, &parts](size_t index, size_t begin, size_t end) {
            Part& part = parts[index];
            for (size_t i = begin; i < end; ++i) {
                const SDEventList::Record& event = m_events.record(i);
                m_eventSlots[i] = kNone;
                if (!std::isfinite(event.time)) {
                    continue;
                }
                if (part.times == 0 || event.time != part.lastTime) {
                    ++part.times;
                    part.lastTime = event.time;
                }
                const uint32_t mark = event.type == 0 || event.source >= m_sourceSlots.size()
                                          ? kNone
                                          : m_sourceSlots[event.source];
                if (mark == kPlainSource) {
                    part.portEvents.push_back(i);
                } else if (mark != kNone && event.port == m_outPort &&
                           // A run that logs its states gives its cells their values from them: a cell's
                           // own output on "out" is then a message, not a value.
                           !(m_stateValues && event.type != SDEvent::kStateType)) {
                    m_eventSlots[i] = mark;
                    ++part.cellUpdates;
                }
            }
        });
    // At most one time too many, for the room kept for the times.
    size_t timeCount = 0;
    uint64_t updates = 0;
    for (size_t index = 0; index < partCount; ++index) {
        Part& part = parts[index];
        timeCount += part.times;
        updates += part.cellUpdates;
        for (size_t i : part.portEvents) {
            const SDEventList::Record& event = m_events.record(i);
            m_eventSlots[i] = slotOf(event.source, event.port);
            updates += m_eventSlots[i] != kNone ? 1 : 0;
        }
    }
    const auto updateCount = static_cast<size_t>(std::min<uint64_t>(updates, kMaxSlots));
    m_slotCount = m_cellSlots + m_ports.size();
    m_interval = static_cast<uint32_t>(
        std::clamp<uint64_t>(2 * static_cast<uint64_t>(m_slotCount), kMinInterval, kMaxSlots));
    const size_t checkpoints = updateCount / m_interval;

    // Fresh vectors, so that a smaller index does not keep the capacity of a larger one.
    std::vector<double>().swap(m_times);
    std::vector<uint32_t>().swap(m_updatesUpTo);
    m_times.reserve(timeCount + 1);
    m_updatesUpTo.reserve(timeCount + 1);
    // Written whole by fillIndex, which counts the same updates in the same order.
    decltype(m_updateSlot)(updateCount).swap(m_updateSlot);
    decltype(m_updateValue)(updateCount).swap(m_updateValue);
    decltype(m_updateTime)(updateCount).swap(m_updateTime);
    decltype(m_updatePrevious)(updateCount).swap(m_updatePrevious);
    std::vector<double>(checkpoints * m_slotCount).swap(m_checkpointValues);
    std::vector<uint32_t>(checkpoints * m_slotCount).swap(m_checkpointTimes);
    return updateCount;
}

void SDTimeCursor::fillIndex(size_t updateCount) {
    // The times, the updates, the checkpoints and each model's range. The values are played once through
    // from the start in a scratch copy, which the checkpoints are taken from. In a large run the ranges
    // are gathered meanwhile on a second thread, which also works out the percentiles the colours of a
    // space are usually scaled by: nothing else reads the spaces' values until both are done.
    const size_t eventCount = m_events.size();
    std::future<void> ranges;
    if (eventCount >= kSplitLeast && std::thread::hardware_concurrency() > 1) {
        ranges = std::async(std::launch::async, [this, updateCount] {
            widenRanges(updateCount);
            for (const CellModel& cells : m_cellModels) {
                double low = 0.0;
                double high = 0.0;
                cells.values->robustRange(low, high);
            }
        });
    }
    std::vector<double> values(m_slotCount, 0.0);
    std::vector<uint32_t> times(m_slotCount, kNone);
    std::vector<uint32_t> latest(m_slotCount, kNone);
    auto takeCheckpoint = [&](uint32_t update) {
        const size_t at = (update / m_interval - 1) * m_slotCount;
        std::copy(values.begin(), values.end(), m_checkpointValues.begin() + static_cast<ptrdiff_t>(at));
        std::copy(times.begin(), times.end(), m_checkpointTimes.begin() + static_cast<ptrdiff_t>(at));
    };
    uint32_t update = 0;
    for (size_t i = 0; i < eventCount; ++i) {
        const SDEventList::Record& event = m_events.record(i);
        if (!std::isfinite(event.time)) {
            continue;
        }
        if (m_times.empty() || event.time != m_times.back()) {
            if (!m_times.empty()) {
                m_updatesUpTo.push_back(update);
            }
            m_times.push_back(event.time);
        }
        const uint32_t slot = m_eventSlots[i];
        if (slot == kNone || update == updateCount) {
            continue;
        }
        if (update > 0 && update % m_interval == 0) {
            takeCheckpoint(update);
        }
        const auto timeIndex = static_cast<uint32_t>(m_times.size() - 1);
        m_updateSlot[update] = slot;
        m_updateValue[update] = event.value;
        m_updateTime[update] = timeIndex;
        m_updatePrevious[update] = latest[slot];
        latest[slot] = update;
        values[slot] = event.value;
        times[slot] = timeIndex;
        ++update;
    }
    if (!m_times.empty()) {
        m_updatesUpTo.push_back(update);
    }
    // The run's end, when a line later than every event names it: a time to stand at that changes nothing.
    const double end = m_events.runEnd();
    if (std::isfinite(end) && (m_times.empty() || end > m_times.back())) {
        m_times.push_back(end);
        m_updatesUpTo.push_back(update);
    }
    if (update > 0 && update % m_interval == 0) {
        takeCheckpoint(update);
    }
    m_lastUpdate.swap(latest);
    if (ranges.valid()) {
        ranges.get();
    } else {
        widenRanges(updateCount);
    }
}

void SDTimeCursor::widenRanges(size_t updateCount) {
    size_t update = 0;
    for (size_t i = 0; i < m_events.size() && update < updateCount; ++i) {
        const uint32_t slot = m_eventSlots[i];  // none for an event of no finite time
        if (slot == kNone) {
            continue;
        }
        if (slot < m_cellSlots) {
            modelOf(slot).values->widenRange(m_events.record(i).value);
        }
        ++update;
    }
}

SDTimeCursor::CellModel& SDTimeCursor::modelOf(uint32_t slot) {
    auto after = std::upper_bound(m_cellModels.begin(), m_cellModels.end(), slot,
                                  [](uint32_t s, const CellModel& cells) { return s < cells.base; });
    return *(after - 1);
}

uint32_t SDTimeCursor::slotOf(uint32_t source, uint32_t port) {
    if (source >= m_sourceSlots.size()) {
        return kNone;
    }
    const uint32_t mark = m_sourceSlots[source];
    if (mark == kPlainSource) {
        const uint64_t key = static_cast<uint64_t>(source) << 32 | port;
        auto found = m_portSlots.find(key);
        if (found != m_portSlots.end()) {
            return m_cellSlots + found->second;
        }
        if (m_cellSlots + m_ports.size() >= kMaxSlots) {
            return kNone;
        }
        const auto index = static_cast<uint32_t>(m_ports.size());
        m_ports.push_back(PortValue{0.0, kNone});
        m_portSlots.emplace(key, index);
        return m_cellSlots + index;
    }
    if (mark == kNone || port != m_outPort) {
        return kNone;
    }
    return mark;
}

uint32_t SDTimeCursor::cellSlotOf(std::string_view source, CellLookup& lookup) const {
    std::string_view modelName;
    long long coordinates[3];
    if (!splitCellName(source, modelName, coordinates, lookup.scratch)) {
        return kPlainSource;
    }
    // A run names the cells of one space or a few: the space is looked up once per name in a row, not
    // once per cell (a million of them).
    if (!lookup.known || modelName != lookup.lastName) {
        lookup.lastName.assign(modelName);
        lookup.known = true;
        lookup.cells = findCells(lookup.lastName);
    }
    if (lookup.cells == kNoCells) {
        return kNone;
    }
    const CellModel& cells = m_cellModels[lookup.cells];
    // Events name cells by the run's coordinates; the cells are stored from the origin on.
    const long long x = coordinates[0] - cells.origin[0];
    const long long y = coordinates[1] - cells.origin[1];
    const long long z = coordinates[2] - cells.origin[2];
    if (x < 0 || y < 0 || z < 0 || x >= cells.width || y >= cells.height || z >= cells.length) {
        return kNone;
    }
    return cells.base + static_cast<uint32_t>((x * cells.height + y) * cells.length + z);
}

size_t SDTimeCursor::findCells(const std::string& modelName) const {
    auto* model = dynamic_cast<SDCELLDevsModel*>(m_models.findModel(modelName));
    for (size_t i = 0; model != nullptr && i < m_cellModels.size(); ++i) {
        if (m_cellModels[i].model == model) {
            return i;
        }
    }
    return kNoCells;
}

size_t SDTimeCursor::positionCount() const {
    return m_times.size() + (m_startIsEventTime ? 0 : 1);
}

double SDTimeCursor::positionTime(size_t position) const {
    if (!m_startIsEventTime) {
        if (position == m_startIndex) {
            return 0.0;
        }
        if (position > m_startIndex) {
            --position;
        }
    }
    return m_times[position];
}

uint32_t SDTimeCursor::updatesAt(size_t position) const {
    if (!m_startIsEventTime) {
        if (position == m_startIndex) {
            return m_startIndex == 0 ? 0 : m_updatesUpTo[m_startIndex - 1];
        }
        if (position > m_startIndex) {
            --position;
        }
    }
    return m_updatesUpTo[position];
}

size_t SDTimeCursor::positionOf(double milliseconds) const {
    size_t atOrBefore =
        static_cast<size_t>(std::upper_bound(m_times.begin(), m_times.end(), milliseconds) - m_times.begin());
    if (!m_startIsEventTime && milliseconds >= 0.0) {
        ++atOrBefore;
    }
    return atOrBefore == 0 ? 0 : atOrBefore - 1;
}

bool SDTimeCursor::moveTo(size_t position) {
    applyUpTo(updatesAt(position));
    const double before = m_time;
    m_position = position;
    m_time = positionTime(position);
    return m_time != before;
}

void SDTimeCursor::applyUpTo(uint32_t target) {
    if (target == m_applied) {
        return;
    }
    const size_t checkpoint = target / m_interval;  // the nearest at or before the target; 0 is the start
    const auto checkpointUpdate = static_cast<uint32_t>(checkpoint * m_interval);
    const uint32_t distance = target > m_applied ? target - m_applied : m_applied - target;
    if (distance <= static_cast<size_t>(target - checkpointUpdate) + m_slotCount) {
        if (target > m_applied) {
            for (uint32_t u = m_applied; u < target; ++u) {
                write(m_updateSlot[u], m_updateValue[u], m_updateTime[u]);
            }
        } else {
            // Undone newest first, so each value ends as it was before the earliest undone update.
            for (uint32_t u = m_applied; u-- > target;) {
                const uint32_t previous = m_updatePrevious[u];
                if (previous == kNone) {
                    erase(m_updateSlot[u]);
                } else {
                    write(m_updateSlot[u], m_updateValue[previous], m_updateTime[previous]);
                }
            }
        }
    } else {
        restoreCheckpoint(checkpoint);
        for (uint32_t u = checkpointUpdate; u < target; ++u) {
            write(m_updateSlot[u], m_updateValue[u], m_updateTime[u]);
        }
    }
    m_applied = target;
}

void SDTimeCursor::restoreCheckpoint(size_t checkpoint) {
    if (checkpoint == 0) {
        for (CellModel& cells : m_cellModels) {
            cells.values->clearAll();
        }
        for (PortValue& port : m_ports) {
            port.timeIndex = kNone;
        }
        return;
    }
    const size_t at = (checkpoint - 1) * m_slotCount;
    for (CellModel& cells : m_cellModels) {
        cells.values->restore(&m_checkpointValues[at + cells.base], &m_checkpointTimes[at + cells.base]);
    }
    for (size_t i = 0; i < m_ports.size(); ++i) {
        m_ports[i] =
            PortValue{m_checkpointValues[at + m_cellSlots + i], m_checkpointTimes[at + m_cellSlots + i]};
    }
}

void SDTimeCursor::write(uint32_t slot, double value, uint32_t timeIndex) {
    if (slot < m_cellSlots) {
        CellModel& cells = modelOf(slot);
        cells.values->set(slot - cells.base, value, timeIndex);
    } else {
        m_ports[slot - m_cellSlots] = PortValue{value, timeIndex};
    }
}

void SDTimeCursor::erase(uint32_t slot) {
    if (slot < m_cellSlots) {
        CellModel& cells = modelOf(slot);
        cells.values->clear(slot - cells.base);
    } else {
        m_ports[slot - m_cellSlots].timeIndex = kNone;
    }
}

size_t SDTimeCursor::checkpointBytes() const {
    return m_checkpointValues.capacity() * sizeof(double) + m_checkpointTimes.capacity() * sizeof(uint32_t);
}

size_t SDTimeCursor::indexBytes() const {
    return checkpointBytes() + m_times.capacity() * sizeof(double) +
           m_updatesUpTo.capacity() * sizeof(uint32_t) +
           (m_updateSlot.capacity() + m_updateTime.capacity() + m_updatePrevious.capacity() +
            m_lastUpdate.capacity()) *
               sizeof(uint32_t) +
           m_updateValue.capacity() * sizeof(double) + m_sourceSlots.capacity() * sizeof(uint32_t) +
           m_ports.capacity() * sizeof(PortValue) + m_portSlots.size() * 32 +
           m_portSlots.bucket_count() * sizeof(void*);
}
