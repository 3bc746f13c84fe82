#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "loader/SLBase.h"
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
class SLLogFile : public SLBase {
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
    bool load() override;
    // Handles one line without its line end. Always true: malformed lines are passed over or read as far
    // as their fields allow.
    virtual bool parseLine(const char* line);

    const std::string& getFileName() const { return m_fileName; }

  protected:
    std::string m_fileName;

  private:
    // Fills the record of one end (0 source, 1 destination) for a model reference without its identifier:
    // named and, for a cell, grown to hold the cell.
    SDDevsModel& fillModel(int end, std::string_view reference);
    void passOver(long long lineNumber);

    // Reused for the texts that are logged or scanned on every line, so a line costs no allocation.
    std::string m_text;
    std::string m_number;
    SDEvent m_event;
    SDDevsModel m_plain[2];
    SDCELLDevsModel m_cells[2];
};
