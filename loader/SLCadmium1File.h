#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "loader/SLCadmium1Cuts.h"
#include "loader/SLCadmium1Line.h"
#include "loader/SLLineCensus.h"
#include "loader/SLLineSource.h"
#include "loader/SLNamedCells.h"
#include "loader/SLRunReader.h"
#include "loader/SLSink.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModel.h"
#include "simdata/SDEvent.h"

class SLRunSniff;

// The reader of a Cadmium 1 run's message file or state file (SLCadmium1Line): both share the time lines,
// so one reader takes either, and the two read one after the other make one run.
//
// Every model hangs under a top model named after the file (runTopName), so that the two files of a run
// share it. A model id "<space>_(x,y[,z])" is a cell: events and states name it "<space>(x,y[,z])" with the
// file's own coordinates, and the registry stores it at those coordinates less the space's origin, the
// least coordinate per axis (never above 0) among the cells the file names at its first time.
//
// - Each message of a message line is an output event of the model on the port's short name, to its
//   parent (the top model, or the cell's space), its value the first number of the message (0 without).
// - A state line hands the state's text to the sink; a cell's state with a number is also an output event
//   on port "out" to its space, which is what colours the cell.
// Records before the first time line, lines of neither kind, and cells below the origin or beyond the
// registry's limit are passed over.
class SLCadmium1File : public SLRunReader {
  public:
    static constexpr size_t kMaxLineLength = size_t{1} << 20;
    // How far into the file the first time is read for the origins before the import starts: it is read
    // at once, without progress or Escape. A first time longer than this (a million and a half short
    // state lines) gives its later cells no say in the origin.
    static constexpr uint64_t kOriginScanBytes = uint64_t{64} << 20;

    SLCadmium1File(SLSink* link, std::string fileName);
    ~SLCadmium1File() override;

    // Whether the file's first lines of text are time lines and records of the two files: the first of
    // them one, most of them, at least one a record.
    static bool recognises(const SLRunSniff& sniff);
    // The top model's name for a file: its name without folders and extension, less a last "_messages",
    // "_message", "_state" or "_states"; characters other than letters, digits and '_' become '_'.
    static std::string runTopName(const std::string& path);

    bool open() override;
    Step readLines(size_t maxLines) override;
    long long linesRead() const override { return m_source.lineNumber(); }
    uint64_t bytesRead() const override { return m_source.bytesRead(); }
    uint64_t fileSize() const override { return m_source.fileSize(); }
    const SLLineCensus& census() const override { return m_census; }
    double latestTime() const override { return m_latestTime; }
    const SLNamedCells& getNamedCells() const override { return m_namedCells; }
    const std::string& getFileName() const override { return m_fileName; }

  private:
    static constexpr uint32_t kNoKey = SLSink::kNoModelKey;
    // What the reader knows of a cell space: its origin, the ports offered for it, its cells offered.
    struct Space {
        std::array<int, 3> origin{};
        bool told = false;  // the hierarchy knows it
        std::vector<std::string> ports;
        bool statePort = false;  // "out" is among them, which most lines would otherwise look for
        // The key of each cell offered (kNoKey for one not yet), per stored position of the box `extent`
        // (x outer, z inner); the box grows by doubling, within the registry's limit.
        std::vector<uint32_t> keys;
        std::array<uint64_t, 3> extent{};
    };
    // A plain model offered: its ports and its key.
    struct Plain {
        std::vector<std::string> ports;
        bool statePort = false;
        uint32_t key = 0;
    };
    // A model id resolved to what events name it and where its record goes.
    struct Model {
        bool cell = false;
        std::string_view space;  // a cell's space
        Space* record = nullptr;
        std::array<int, 3> coordinates{};
        int dimensions = 0;
        uint32_t key = kNoKey;  // the reader's number for the model, once its record was offered
    };

    // Reads the file's first time (up to kOriginScanBytes) for the cells it names, to set each space's
    // origin.
    void findOrigins();
    using Cut = SLCadmium1Cuts::Line;
    void handleLine(const SLCadmium1Cuts& cuts, const Cut& line, long long lineNumber);
    void handleMessages(const SLCadmium1Cuts& cuts, const Cut& line, long long lineNumber);
    void handleState(const Cut& line, long long lineNumber);
    // Resolves the line's model and points m_reference at its reference; false, after a log line the
    // first time, for a cell below its space's origin.
    bool resolve(const Cut& line, Model& model);
    // The space of that name, made with origin 0 when the first time named none of its cells.
    Space& spaceOf(std::string_view name);
    // Notes a cell (not below the origin) as offered, giving it the next key when it was not yet; true
    // then. A cell beyond the registry's limit is always new, without a key: its record is refused.
    bool markOffered(Space& space, const std::array<int, 3>& coordinates, uint32_t& key);
    // Offers the model's record (and tells the hierarchy) when the model is new or its ports grew, and
    // sets its key. False for a cell the registry cannot hold.
    bool offerRecord(Model& model, const SLCadmium1Cuts::Port* ports, size_t portCount, bool statePort);
    // An output event of the model at the current time; `message` hands it to the hierarchy as well.
    void offerOutput(const Model& model, std::string_view port, double value, bool message);
    void tellParent(std::string_view parent, std::string_view child);

    std::string m_fileName;
    std::string m_top;
    bool m_topOffered = false;
    SLLineCensus m_census;
    SLNamedCells m_namedCells;  // stays empty: every cell named comes with a record of its own

    SLLineSource m_source;

    bool m_haveTime = false;
    double m_time = 0.0;
    double m_latestTime = -std::numeric_limits<double>::infinity();

    std::map<std::string, Space, std::less<>> m_spaces;
    Space* m_lastSpace = nullptr;  // lines mostly name the space of the line before
    std::string_view m_lastSpaceName;
    // The plain models offered so far.
    std::unordered_map<std::string, Plain> m_plainModels;
    uint32_t m_nextKey = 0;
    std::set<std::string, std::less<>> m_passedCells;  // below the origin or beyond the limit: logged once

    // The reference of the line being handled, in the line.
    std::string_view m_reference;
    // Reused for every line.
    SDEvent m_event;
    SDDevsModel m_plain;
    SDCELLDevsModel m_cells;
};
