#pragma once

#include <string>
#include <vector>

// Records every logged message while it exists: it stands in for the console (console channel on, file
// channel off), so tests see the exact lines the program logs without touching the disk.
class LogRecorder {
  public:
    LogRecorder();
    ~LogRecorder();
    LogRecorder(const LogRecorder&) = delete;
    LogRecorder& operator=(const LogRecorder&) = delete;

    const std::vector<std::string>& lines() const;
    void clear();
    // How many recorded lines equal `line` exactly.
    size_t count(const std::string& line) const;
    bool contains(const std::string& line) const { return count(line) > 0; }
    // The recorded lines joined with '\n', for failure messages.
    std::string text() const;
};
