#pragma once

#include <map>
#include <string>
#include <vector>

// The values over time that a log file holds, read straight from its text with a reading of the format
// that shares nothing with the program: each message line split at '/' and blanks, the time and the value
// kept as the file writes them.
struct LogPoint {
    std::string time;  // HH:MM:SS:MS as in the file
    double milliseconds;
    std::string value;  // as in the file
};
using LogPoints = std::vector<LogPoint>;

struct LogSeries {
    // Keyed "model(x,y)" for a cell's port "out" (coordinates as written), "model.port" for what a model
    // that is not a cell sends ("Y") or receives ("X"). Of several at one time, the last.
    std::map<std::string, LogPoints> outputs;
    std::map<std::string, LogPoints> inputs;

    static LogSeries read(const std::string& path);
};
