#pragma once

#include <map>
#include <string>
#include <vector>

// The values over time a log file holds, read from its text with a reading of the format that shares
// nothing with the program: each message line split at '/' and blanks, time and value kept as written.
struct LogPoint {
    std::string time;  // HH:MM:SS:MS
    double milliseconds;
    std::string value;
};
using LogPoints = std::vector<LogPoint>;

struct LogSeries {
    // Keyed as vis_plot names them: "plane 3 4" for what a cell sent on port out, "top.out" for what a
    // model that is not a cell sent ("Y") or received ("X") there. Of several at one time, the last.
    std::map<std::string, LogPoints> outputs;
    std::map<std::string, LogPoints> inputs;

    static LogSeries read(const std::string& path);
};
