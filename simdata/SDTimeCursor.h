#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "simdata/SDEventList.h"
#include "simdata/SDUninitialised.h"

class SDCELLDevsModel;
class SDCellValues;
class SDDevsModelList;

// The current time of a visualization and what its run shows at that time.
//
// The cursor starts at 00:00:00:000 and stands only at the start, at a time at which events exist, or at
// the run's end when its log names a later time than any event (SDEventList::runEnd). At time t:
//   - each cell of every Cell-DEVS model holds the value of the last output ("Y") on port "out" sent by
//     that cell (named by the run's coordinates, stored at those minus the model's origin) at or before t (of
//     equal times, the later event in the list), written into the model's SDCellValues together with the
//     index of that message's time; before its first output, its initial value if the model has one (part of
//     the model's range of values too);
//   - each output port of every model that is not a cell holds the last value sent on it at or before t.
// Events whose time is not finite are never applied and give no time to stand at.
//
// Nothing replays the whole log. The messages that change what is shown ("updates") are indexed once per
// change of the event list, each with the previous update of the same cell or port, and a checkpoint of
// every value is kept every few updates. A step applies (or, going back, undoes) just the updates
// between the two times; a jump restores the nearest checkpoint before the target and applies the
// updates from there, or steps when that is cheaper. Checkpoints are at least twice as many updates
// apart as there are values, so a jump costs time in proportion to the number of values, and all
// checkpoints together take less than a fifth of what the event list takes.
//
// The cursor follows the event list and the registry it reads: after events are added or a record
// grows, joins, leaves or gets new initial values, the next operation rebuilds the index and restores the
// current time's values.
class SDTimeCursor {
    // Reads the index to give the history of one value without replaying the log.
    friend class SDValueHistory;

  public:
    static constexpr uint32_t kNone = UINT32_MAX;

    SDTimeCursor(const SDEventList& events, SDDevsModelList& models);
    SDTimeCursor(const SDTimeCursor&) = delete;
    SDTimeCursor& operator=(const SDTimeCursor&) = delete;
    virtual ~SDTimeCursor();

    // The current time in milliseconds.
    double time() const { return m_time; }

    // Each returns true when the current time changed. next and previous stay put at either end.
    bool next();
    bool previous();
    bool first();
    bool last();
    // To the latest time at or before `milliseconds` at which the cursor can stand, or to the first such
    // time when `milliseconds` is earlier than all of them.
    bool goTo(double milliseconds);

    // The distinct finite event times, and the run's end when it is later, in ascending order (the start
    // is not among them unless events happen at 0).
    size_t timeCount();
    double timeAt(size_t index);
    // The index of the latest event time at or before the current time; -1 when there is none.
    long currentTimeIndex();
    // Whether there is a later time to move to.
    bool canPlay();
    // Whether the cursor has more than one time to stand at: none when the run's only event time is the
    // start, or it has none.
    bool hasTimesToPlay();

    // The last value that `model`, a model that is not a cell, sent on output port `port` at or before
    // the current time, and the index of that message's time. False when it sent nothing there yet.
    bool output(const std::string& model, const std::string& port, double& value, uint32_t& timeIndex);

    // The cells of the model whose values these are that a message at the current time set (their value's
    // time is the current one), ascending and each once; none at the start before the first event time or
    // at a run's end later than every event. Costs the number of updates at the current time.
    void cellsChangedNow(const SDCellValues* values, std::vector<uint32_t>& cells);

    // Brings the index and the values up to date with the event list and the registry, keeping the
    // current time. Every other operation does this first; call it before reading cell values after an
    // import.
    void sync();

    // Memory held by the checkpoints, and by the whole index including them, in bytes.
    size_t checkpointBytes() const;
    size_t indexBytes() const;

  private:
    // A Cell-DEVS model whose cells are values numbered from `base`, with the counts it had when indexed.
    struct CellModel {
        SDCELLDevsModel* model;
        SDCellValues* values;
        uint32_t base;
        uint32_t count;
        unsigned width;
        unsigned height;
        unsigned length;
        std::array<int, 3> origin;
        unsigned long initialRevision;
    };
    struct PortValue {
        double value;
        uint32_t timeIndex;
    };

    bool stale() const;
    void rebuild();
    void numberValues();
    // Returns the number of updates.
    size_t sizeIndex();
    void fillIndex(size_t updateCount);
    // Widens each space's range with its cells' values of the first `updateCount` updates.
    void widenRanges(size_t updateCount);
    // The value number an output from this source on this port updates, or kNone.
    uint32_t slotOf(uint32_t source, uint32_t port);
    // The index in m_cellModels of the Cell-DEVS model of this name, or kNoCells.
    static constexpr size_t kNoCells = SIZE_MAX;
    // What resolving cell names keeps between names: the model named last and what it found.
    struct CellLookup {
        std::string scratch;
        std::string lastName;
        bool known = false;
        size_t cells = kNoCells;
    };
    // A name's mark in m_sourceSlots: its cell's value number, kNone, or the mark of a plain source.
    uint32_t cellSlotOf(std::string_view source, CellLookup& lookup) const;
    void resolveSources();
    size_t findCells(const std::string& modelName) const;
    CellModel& modelOf(uint32_t slot);

    size_t positionCount() const;
    double positionTime(size_t position) const;
    uint32_t updatesAt(size_t position) const;
    size_t positionOf(double milliseconds) const;
    bool moveTo(size_t position);
    // Makes the values those after the first `target` updates.
    void applyUpTo(uint32_t target);
    void restoreCheckpoint(size_t checkpoint);
    void write(uint32_t slot, double value, uint32_t timeIndex);
    void erase(uint32_t slot);

    const SDEventList& m_events;
    SDDevsModelList& m_models;
    uint64_t m_eventsRevision = 0;
    uint64_t m_modelsRevision = 0;
    bool m_built = false;

    double m_time = 0.0;
    size_t m_position = 0;
    uint32_t m_applied = 0;  // how many updates the values hold

    // Distinct event times and, for each, how many updates happen at or before it.
    std::vector<double> m_times;
    std::vector<uint32_t> m_updatesUpTo;
    // Where 0 falls among the event times, and whether it is one of them; otherwise the start is a
    // position of its own.
    size_t m_startIndex = 0;
    bool m_startIsEventTime = false;

    std::vector<CellModel> m_cellModels;  // in registry order, bases ascending
    uint32_t m_cellSlots = 0;
    std::vector<PortValue> m_ports;  // values of the ports of models that are not cells
    // (source name number << 32 | port name number) -> port value index
    std::unordered_map<uint64_t, uint32_t> m_portSlots;
    // Per name number: its cell's value number, or one of the marks below.
    std::vector<uint32_t> m_sourceSlots;
    // While the index is built: per event, the value number it updates (kNone for none).
    SDUninitialisedVector<uint32_t> m_eventSlots;
    uint32_t m_outPort = kNone;
    bool m_stateValues = false;  // some event carries a state's value (SDEvent::kStateType)

    // The updates, in event order: the value number, the value, its time index and the previous update
    // of the same value number (kNone for the first).
    // Sized once per index and written whole.
    SDUninitialisedVector<uint32_t> m_updateSlot;
    SDUninitialisedVector<double> m_updateValue;
    SDUninitialisedVector<uint32_t> m_updateTime;
    SDUninitialisedVector<uint32_t> m_updatePrevious;
    // Per value number, its last update (kNone when it has none): the head of its chain of updates.
    std::vector<uint32_t> m_lastUpdate;

    // Checkpoint c (from 1) holds every value after the first c * m_interval updates; checkpoint 0 is
    // the empty start and is not stored.
    uint32_t m_interval = 1;
    size_t m_slotCount = 0;
    std::vector<double> m_checkpointValues;
    std::vector<uint32_t> m_checkpointTimes;
};
