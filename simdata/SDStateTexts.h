#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "simdata/SDChunkedArray.h"
#include "simdata/SDNameTable.h"

// The whole state texts of a run, for formats that log a model's state as free text: per model reference
// ("cells(3,4)", "queue"), the time and text of each of its states in file order. A run has millions of
// them, so texts lie in one shared buffer and a state is a small record; a text equal to one stored
// lately (for the same model or any other) is not stored again. The records come in arrival order
// and are grouped by model only when they are next read: an import of many cells writes each state
// where the one before went, not at the end of its model's own array.
//
// A cell's state whose number coloured the cell is carried by an output event as well: the state notes the
// index of that event in the event list, so that its value can be changed later (another number of the
// text). It empties with the visualization.
class SDStateTexts {
  public:
    // Marks in place of an event index: the state has no event, or it has one whose index is not known
    // (it arrived out of time order and waited to be merged).
    static constexpr uint32_t kNoEvent = UINT32_MAX;
    static constexpr uint32_t kUnplaced = UINT32_MAX - 1;

    // One state of a model, by its model number and its place among that model's states.
    struct Ref {
        uint32_t model;
        uint32_t row;
    };
    struct State {
        double time;  // milliseconds
        std::string_view text;
        uint32_t event;  // an index in the event list, or a mark
    };

    SDStateTexts();
    SDStateTexts(const SDStateTexts&) = delete;
    SDStateTexts& operator=(const SDStateTexts&) = delete;
    ~SDStateTexts();

    // Keeps a copy of `text` as the state of `model` from `milliseconds` on.
    Ref add(std::string_view model, double milliseconds, std::string_view text);
    // The same in two steps, for a caller that remembers a model's number: the number of `model` (made
    // when it has no state yet), then a state of the model of that number.
    uint32_t modelNumber(std::string_view model);
    Ref add(uint32_t model, double milliseconds, std::string_view text);
    // Notes the event that carries the state's value (an index, or kUnplaced).
    void setEvent(Ref ref, size_t index);

    bool empty() const { return size() == 0; }
    // States in all.
    size_t size() const { return m_grouped.size() + m_arrived.size(); }
    size_t modelCount() const { return m_models.size(); }
    // False when the model has no state.
    bool find(std::string_view model, uint32_t& number) const { return m_names.find(model, number); }
    std::string_view name(uint32_t model) const { return m_names.name(model); }
    size_t count(uint32_t model) const { return m_models[model].count; }
    State state(Ref ref) const;
    // The state the model held at `milliseconds`: of its states at or before then, the latest, and of
    // those at the same time the last in file order. False when it held none yet.
    bool at(uint32_t model, double milliseconds, State& state) const;

    // Which number of their texts gives the values of a model or of a cell space's cells, counting from
    // 0, as chosen by the name it was chosen for; -1 when none was chosen (the first number then).
    void chooseField(const std::string& name, int field) { m_fields[name] = field; }
    int chosenField(std::string_view name) const;
    const std::map<std::string, int, std::less<>>& chosenFields() const { return m_fields; }

    // The heap held, near enough.
    size_t memoryBytes() const;

  private:
    struct Row {
        double time;
        uint32_t chunk;
        uint32_t offset;
        uint32_t length;
        uint32_t event;
    };
    struct Model {
        // A copy of its last row, to compare the next state with, and that row's place in m_arrived
        // while m_grouping is still `grouping`.
        Row last{};
        uint32_t lastArrived = 0;
        uint32_t grouping = 0;
        uint32_t count = 0;
        bool ordered = true;  // times never fall: a lookup can search
    };
    std::string_view textOf(const Row& row) const;
    // Copies `text` into the buffer; where it lies goes into `row`.
    void store(std::string_view text, Row& row);
    // Where in m_recent a text equal to `text` would be.
    static size_t recentSlot(std::string_view text);
    // The state `ref`: mostly the one just added, else found after grouping.
    const Row& rowOf(Ref ref) const;
    // Moves the rows that arrived since the last grouping into m_grouped, each model's after its own.
    void group() const;

    static constexpr size_t kChunkBytes = size_t{1} << 20;

    SDNameTable m_names;
    std::vector<Model> m_models;
    // The states grouped by model, model m's from m_modelStart[m] in arrival order; those that came
    // since, in arrival order with their models. Grouping empties the second.
    mutable std::vector<Row> m_grouped;
    mutable std::vector<uint32_t> m_modelStart{0};
    mutable SDChunkedArray<Row> m_arrived;
    mutable SDChunkedArray<uint32_t> m_arrivedModel;
    mutable uint32_t m_grouping = 0;  // grows with every grouping
    std::vector<std::unique_ptr<char[]>> m_chunks;
    std::vector<size_t> m_chunkBytes;  // each chunk's size; a text longer than kChunkBytes has its own
    size_t m_used = 0;                 // bytes used in the last chunk
    std::map<std::string, int, std::less<>> m_fields;
    bool m_hasLast = false;
    Row m_last{};  // the text stored last
    // Texts stored lately, by recentSlot: comparing with one of them reads memory read just before.
    static constexpr size_t kRecentTexts = 64;
    std::array<Row, kRecentTexts> m_recent{};
};
