#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "loader/SLBase.h"

class SLLineCensus;
class SLNamedCells;

// A reader of one simulator's run file, read in slices into its sink: open, then readLines until it
// answers something other than More. Each format has its own; openRunReader picks one by content.
class SLRunReader : public SLBase {
  public:
    // What a slice of reading ended with.
    enum class Step { More, Done, Failed };

    explicit SLRunReader(SLSink* link) : SLBase(link) {}
    ~SLRunReader() override;

    // The whole file at once: open, then every slice; true when it read to its end.
    bool load() override;

    // False after a log line when the file cannot be opened.
    virtual bool open() = 0;
    // Handles up to `maxLines` more lines: More while lines remain, Done at the end of the file, Failed
    // after a log line when the file cannot be read (getFailure says why). The file is closed once the
    // answer is not More.
    virtual Step readLines(size_t maxLines) = 0;
    // Lines handled so far (passed-over ones too), bytes of the file up to the end of the last line
    // handled, and the file's size when it was opened.
    virtual long long linesRead() const = 0;
    virtual uint64_t bytesRead() const = 0;
    virtual uint64_t fileSize() const = 0;
    // The kinds of lines handled so far, for the report at the end of the import.
    virtual const SLLineCensus& census() const = 0;
    // The latest finite time (milliseconds) the file names so far: the run lasts until then even when no
    // event is that late. -infinity before the first.
    virtual double latestTime() const = 0;
    // Cells the file names without an event for them, so that each space gets its true size.
    virtual const SLNamedCells& getNamedCells() const = 0;
    virtual const std::string& getFileName() const = 0;
};

// The reader for the run in `path`, chosen by the file's first lines whatever its name: each format's
// reader is asked in turn whether the lines are its own, and the message log's reader takes the rest.
// Never null. Nothing is logged here: a file that cannot be read fails in the reader's open.
std::unique_ptr<SLRunReader> openRunReader(SLSink* link, const std::string& path);

// The formats openRunReader knows, for the report on a file that holds none of them:
// "message log (I/*/D/X/Y lines)", each format named with how its lines look.
std::string runFormatsTried();
