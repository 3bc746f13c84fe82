#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "control/VCImportProgress.h"

// A file read into the open visualization a slice at a time, so that the program's one thread can draw
// and read input in between: a log (VCLogImport) or a model file (VCModelFileImport). The controller runs
// one at a time, whichever it is.
class VCImport {
  public:
    virtual ~VCImport();

    // Opens the file. False when it cannot be opened; the import is then over and failure() says why.
    virtual bool begin() = 0;
    // Reads for about `milliseconds`, looking at the clock every few lines; true while lines remain.
    virtual bool readFor(double milliseconds) = 0;
    // Reads what remains.
    virtual void readAll() = 0;
    // Stops reading and releases the file. True when the whole file was read; failure() says why not,
    // unless it was stopped early.
    virtual bool end() = 0;

    // Where the running import stands; the lines and bytes stay as they were once it has ended.
    VCImportProgress progress() const;
    virtual const std::string& failure() const = 0;
    const std::string& path() const { return m_path; }
    // What is logged when the user stops it after `lines` lines.
    virtual std::string cancelledText(long long lines) const = 0;

  protected:
    // `clock` times the import for its progress (null: the steady clock); slices are timed by the steady
    // clock whatever it is.
    VCImport(std::string path, VCImportClock clock);
    // The import's time starts now.
    void startClock() { m_started = now(); }
    // The lines and bytes read so far, of a file of `size` bytes.
    void noteRead(long long lines, uint64_t bytes, uint64_t size);
    // Calls `readSome` until it answers false (nothing left) or `milliseconds` have passed, looking at the
    // clock after each call; it is called at least once. Its last answer.
    static bool readUntil(double milliseconds, const std::function<bool()>& readSome);

    std::string m_path;

  private:
    std::chrono::steady_clock::time_point now() const;

    VCImportClock m_clock;
    std::chrono::steady_clock::time_point m_started;
    long long m_lines = 0;
    uint64_t m_bytes = 0;
    uint64_t m_size = 0;
};
