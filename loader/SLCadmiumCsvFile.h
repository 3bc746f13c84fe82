#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "loader/SLLineCensus.h"
#include "loader/SLLineSource.h"
#include "loader/SLNamedCells.h"
#include "loader/SLRunReader.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModel.h"
#include "simdata/SDEvent.h"

// The reader of a run logged as separated values (see SLCsvRow): a row with a port is an output message
// of its model, a row without one the model's state from then on. Times are seconds. Models are known by
// their id; a name that several ids share is shown "name#id", and brackets in a name as '[' ']'. The file
// names no hierarchy: every model hangs under a top model named after the file ("run" for dir/run.csv). A
// model whose name is in parentheses, "(3,4)", is a cell of the one cell space "cells" (or the space a model
// file declared), named "cells(3,4)" in its events and stored at its coordinates less the space's origin.
//
// A cell's state row whose data holds a number becomes an output event of the cell on port "out" with
// that number; every state goes to the sink as text. Rows at an infinite time register their model but
// make no event. A line that does not begin a row continues the row before when it begins with a blank
// or that row's data has a bracket open; any other line is passed over and counted.
class SLCadmiumCsvFile : public SLRunReader {
  public:
    // Longest line read; a longer one is passed over without being held.
    static constexpr size_t kMaxLineLength = size_t{1} << 20;
    // The rows of the first time are held until it ends (they say which names repeat and where the cells
    // begin); a file that never leaves its first time is settled after this many.
    static constexpr size_t kMaxFirstRows = size_t{1} << 20;

    SLCadmiumCsvFile(SLSink* link, std::string fileName);
    ~SLCadmiumCsvFile() override;

    bool open() override;
    Step readLines(size_t maxLines) override;
    long long linesRead() const override { return m_source.lineNumber(); }
    uint64_t bytesRead() const override { return m_source.bytesRead(); }
    uint64_t fileSize() const override { return m_source.fileSize(); }
    const SLLineCensus& census() const override { return m_census; }
    double latestTime() const override { return m_latestTime; }
    const SLNamedCells& getNamedCells() const override { return m_namedCells; }
    const std::string& getFileName() const override { return m_fileName; }

    // The top model's name for a file: its stem, characters other than letters, digits and '_' as '_'. The
    // reader adds "_top" when a model of the run (or its cell space) has that name.
    static std::string topName(const std::string& fileName);

  private:
    // A row's fields view into the line it was read from, until the row outlives that line (the reader's
    // batch goes back, a line continues the data): then into its own copy, one field after another.
    // Most rows are handed over before then and never copied.
    struct Row {
        long long line = 0;
        double seconds = 0.0;
        std::string_view id;
        std::string_view name;
        std::string_view port;
        std::string_view data;
        std::vector<char> held;  // moved with the row, its memory stays where the views point
        bool owned = false;
        int depth = -1;  // brackets the data leaves open; -1 until needed
        bool cell = false;
        int dimensions = 0;
        int coordinates[3] = {0, 0, 0};
    };
    struct Model {
        std::string id;
        std::string name;
        std::string reference;  // as events name it
        bool cell = false;
        bool announced = false;
        bool refused = false;  // a cell the space cannot hold: its rows are passed over
        int dimensions = 0;
        std::array<int, 3> coordinates{};
        std::vector<std::string> ports;
    };

    // Handles one line without its line end; false when the file is refused.
    bool handleLine(std::string_view line);
    bool handleHeader(std::string_view line);
    void passOver(long long lineNumber);
    // Ends the first time: names repeated names by id, fixes the cell space's origin, and hands over the
    // rows held.
    void settle();
    void emitQueued();
    // Copies the row's fields into its own memory, the data continued by `more` after a line feed.
    static void holdRow(Row& row, std::string_view more, bool continued);
    void emit(const Row& row);
    Model& modelOf(const Row& row);
    // The model of `id`, or null; and keeping that it is m_models[index].
    Model* findModel(std::string_view id);
    void keepModel(std::string_view id, uint32_t index);
    // Registers the model (and for a cell its space) the first time it is met; false for a cell the space
    // cannot hold.
    bool announce(Model& model, double milliseconds);
    void notePort(Model& model, std::string_view port);
    void noteTime(double milliseconds);

    std::string m_fileName;
    std::string m_top;
    char m_separator = 0;
    bool m_header = false;
    std::string m_line;      // a line without its colour codes
    std::string m_timeText;  // the time of the last row and what it read as
    double m_timeSeconds = 0.0;

    // Rows not yet handed over: the first time's, then the last row, which may still continue.
    std::vector<Row> m_rows;
    size_t m_queued = 0;
    bool m_open = false;  // the last queued row takes continuation lines
    bool m_settled = false;
    double m_firstSeconds = 0.0;

    std::vector<Model> m_models;
    std::unordered_map<std::string, uint32_t> m_byId;
    std::string m_idKey;               // an id looked up in m_byId
    std::vector<uint32_t> m_byNumber;  // for ids of a few digits: index + 1 in m_models, 0 for none
    std::unordered_map<std::string, int> m_idsOfName;  // plain models

    std::string m_spaceName = "cells";
    std::array<int, 3> m_origin{};
    bool m_spaceAnnounced = false;
    bool m_topAnnounced = false;
    bool m_belowReported = false;
    std::vector<std::string> m_spacePorts;
    SDCELLDevsModel m_space;       // grown to every cell; offered when it grows
    SDCELLDevsModel m_cellRecord;  // carries a cell's new port
    SDDevsModel m_plain;
    SDEvent m_event;

    SLNamedCells m_namedCells;
    SLLineCensus m_census;
    SLLineSource m_source;
    double m_latestTime = -std::numeric_limits<double>::infinity();
};
