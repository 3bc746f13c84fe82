#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "loader/SLBase.h"

class SDDevsModel;

// The loader of a simulator's message log: one message per line, eight fields cut at '/' and ' '
//   <word> <X|Y> <h:m:s:ms> <source> <port> <value> <word> <destination>
// where a model reference is name(id) or, for a cell, name(x,y,z)(id). Each external (X) or output (Y)
// message becomes an event plus one model record for its source and one for its destination, offered to
// the sink in that order; every other line is passed over.
class SLLogFile : public SLBase {
  public:
    SLLogFile(SLSink* link, std::string fileName);
    ~SLLogFile() override;
    // Reads the file line by line (any length; a '\r' before the '\n' is not part of the line) and hands
    // each line to parseLine. False after a log line when the file cannot be opened or read, or when
    // parseLine fails; what was handed over before stays with the sink.
    bool load() override;
    // Handles one line without its line end. Always true: malformed lines are passed over or read as far
    // as their fields allow.
    virtual bool parseLine(const char* line);

    const std::string& getFileName() const { return m_fileName; }

  protected:
    std::string m_fileName;

  private:
    // The record a model reference stands for, named and (for a cell) grown to hold the cell.
    std::unique_ptr<SDDevsModel> makeModel(std::string_view reference);
    void handOver(std::unique_ptr<SDDevsModel> model);

    // Reused for the texts that are logged or scanned on every line, so a line costs no allocation.
    std::string m_text;
    std::string m_number;
};
