#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "console/VDDEVSConsoleParser.h"

// --command LINE: console commands run, in the order given, once the command line's logs are imported and
// the view fitted, as if typed into the console. Each reply is shown once in the console and written once
// to the log file (a command that logs its reply itself is not logged again). A line the console refuses
// (an unknown command, a usage line, a refused argument) is also reported on standard error.
//
// A line that asks for an import (of a log or a model file) holds the lines after it until the import has
// ended, as a typed import holds what is typed after it: run() stops while it is read in slices and
// advance() goes on once it has ended. An import that failed or was cancelled is reported on standard
// error with its reason; a cancelled one also ends the sequence, as Escape ends the command line's logs.
class CommandLineCommands {
  public:
    explicit CommandLineCommands(std::vector<std::string> lines) : m_lines(std::move(lines)) {}

    // Runs the lines until one leaves an import running or none is left.
    void start();
    // After an import has ended: notes how it went and runs the lines after it. Does nothing while an
    // import runs, before start() or once all are done.
    void advance();

    bool done() const { return m_done; }
    // Whether every line was taken and every import they asked for was read whole (true for none), so
    // that --snapshot and --frames write no picture of a view that is not the one asked for.
    bool allRan() const { return m_allRan; }

  private:
    void runNext();
    // Runs one line; true when it left an import to wait for.
    bool runLine(const std::string& line);
    void noteImportEnd();

    std::vector<std::string> m_lines;
    VDDEVSConsoleParser m_parser;
    size_t m_next = 0;
    bool m_started = false;
    bool m_waiting = false;  // the last line run asked for an import that has not been looked at yet
    bool m_done = false;
    bool m_allRan = true;
};
