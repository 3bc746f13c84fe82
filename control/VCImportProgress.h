#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

// How far a running log import is, as the window's strip and a terminal show it.
struct VCImportProgress {
    std::string fileName;  // as the import was asked for
    long long lines = 0;   // lines read so far
    uint64_t bytesRead = 0;
    uint64_t fileSize = 0;
    double elapsedMs = 0.0;  // since the import began

    // An import that has run this long shows its progress; a shorter one would only flicker.
    static constexpr double kShowAfterMs = 400.0;
    bool worthShowing() const { return elapsedMs >= kShowAfterMs; }

    // The share of the file read, 0 to 1 (a file that grew while being read stays at 1).
    double fraction() const;
    // "Importing <file>: 43 % (540,000 lines)": whole percent, rounded down.
    std::string text() const;
};

// The clock an import's elapsed time is read from: the steady clock, unless a test gives its own.
using VCImportClock = std::function<std::chrono::steady_clock::time_point()>;

// 540000 as "540,000".
std::string groupThousands(long long number);
