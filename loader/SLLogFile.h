#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "loader/SLCutLine.h"
#include "loader/SLLineCensus.h"
#include "loader/SLLineReader.h"
#include "loader/SLNamedCells.h"
#include "loader/SLOfferMemo.h"
#include "loader/SLRunReader.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModel.h"
#include "simdata/SDEvent.h"

// The loader of a simulator's message log: one message per line, eight fields cut at '/' and ' '
//   <word> <X|Y> <h:m:s:ms> <source> <port> <value> <word> <destination>
// where a model reference is name(id) or, for a cell, name(x,y,z)(id). Each external (X) or output (Y)
// message becomes an event plus one model record for its source and one for its destination, offered to
// the sink in that order; every other line is passed over. The event and the records are the loader's
// own, filled again for every line and offered by reference (the sink copies what it keeps), so a line
// costs no objects.
class SLLogFile : public SLRunReader {
  public:
    // Longest line that is handed to parseLine. A message line is far shorter; a longer "line" is what a
    // file without line feeds (an image, a dump of zeros) looks like, and holding it whole would let any
    // such file take as much memory as it is large.
    static constexpr size_t kMaxLineLength = size_t{1} << 20;

    SLLogFile(SLSink* link, std::string fileName);
    ~SLLogFile() override;
    // Reads the file line by line (a '\r' before the '\n' is not part of the line) and hands each line to
    // parseLine. A line longer than kMaxLineLength is passed over after one log line, without being held.
    // False after a log line when the file cannot be opened or read, or when parseLine fails; what was
    // handed over before stays with the sink.
    // The same in slices, for a caller that has other work between them: open, then readLines until it
    // answers something other than More. The lines are handled exactly as load handles them; load is open
    // and then readLines until the end.
    // False after a log line when the file cannot be opened.
    bool open() override;
    // Handles up to `maxLines` more lines: More while lines remain, Done at the end of the file, Failed
    // after a log line when the file cannot be read or parseLine fails (getFailure says which). The file
    // is closed once the answer is not More.
    Step readLines(size_t maxLines) override;
    // Lines handled so far (passed-over ones too).
    long long linesRead() const override { return m_lineNumber; }
    // Bytes of the file up to the end of the last line handled (the whole file once Done), and the file's
    // size when it was opened: a reader's progress costs nothing per line.
    uint64_t bytesRead() const override;
    uint64_t fileSize() const override { return m_fileSize; }
    // Handles one line without its line end. Always true: malformed lines are passed over or read as far
    // as their fields allow. Each line is counted in the census (see SLLineCensus): an external or output
    // line that becomes an event is a message whatever its time field holds.
    virtual bool parseLine(const char* line);
    // The kinds of lines handled so far, for the report at the end of the import.
    const SLLineCensus& census() const override { return m_census; }

    const std::string& getFileName() const override { return m_fileName; }
    // The latest finite time that a message line of any kind (I, *, D, X, Y) names, as far as the file was
    // read: the run may go on after its last event. -infinity before the first.
    double latestTime() const override { return m_latestTime; }
    // The cells named by the lines that are not messages (I, D and * lines), as far as the file was read.
    const SLNamedCells& getNamedCells() const override { return m_namedCells; }

  protected:
    std::string m_fileName;

  private:
    // Handles a line cut into `cut` (see parseLine).
    bool parseCut(const char* line, const SLCutLine& cut);
    // Fills the record of one end (0 source, 1 destination): named and, for a cell, grown to hold the cell
    // (`accepted` false when the cell was refused).
    SDDevsModel& fillModel(int end, const SLCutLine::End& reference, bool& accepted);
    // Fills and offers the records of both ends of an event line, but not one that would change nothing
    // (see SLOfferMemo). `portKind` is 'o' for an output message, whose port the source gets, 'i' for an
    // external one, whose port the destination gets.
    void offerEnds(const SLCutLine& cut, char portKind, std::string_view port);
    // Hands an I, * (six fields) or D (seven fields) line to the sink as a message; other lines are passed
    // over, as they always were.
    void offerShortLine(const SLCutLine& cut);
    // Tells the sink of the names of the event on line `index` of the batch, if it is one, so that their
    // lookups are fetched ahead: a table of a million cell names misses the cache on nearly every line.
    // The slots first, kForeseeFar lines ahead; the names once the slots are at hand.
    void foresee(size_t index, bool next);
    static constexpr size_t kForeseeFar = 8;
    static constexpr size_t kForeseeNear = 4;
    void passOver(long long lineNumber);
    void noteTime(double milliseconds);
    void noteTime(std::string_view text);
    // Notes the cells that a line of another kind than X or Y names in its source and destination.
    void noteNamedCells(const SLCutLine& cut);
    Step finish(Step step);

    // Reused for the texts that are logged or scanned on every line, so a line costs no allocation.
    std::string m_text;
    std::string m_number;
    SDEvent m_event;
    SDDevsModel m_plain[2];
    SDCELLDevsModel m_cells[2];
    SLOfferMemo m_offered;
    SLNamedCells m_namedCells;
    SLLineCensus m_census;

    // The reader between slices, the batch of lines being handled and the next line in it.
    std::unique_ptr<SLLineReader> m_reader;
    std::unique_ptr<SLLineReader::Batch> m_batch;
    size_t m_nextLine = 0;
    long long m_lineNumber = 0;
    uint64_t m_bytesDone = 0;  // up to the end of the last line handled; the bytes read once finished
    // The line readLines hands to parseLine and the reader's cut of it: parseLine need not cut it again.
    const char* m_handedLine = nullptr;
    const SLCutLine* m_handedCut = nullptr;
    SLCutLine m_ownCut;  // for a line handed to parseLine by anyone else
    uint64_t m_fileSize = 0;
    bool m_finished = false;
    double m_latestTime = -std::numeric_limits<double>::infinity();
    std::string m_lastTimeText;  // the time field last read by noteTime
};
