#pragma once

#include <string>
#include <vector>

// The work the command line asks for once the program is up, each step as the matching console command
// would do it, with its report in the log.

// Opens a visualization named after the first log (visualizationNameFor) and imports the logs in order;
// a log given twice is imported twice. Each log that cannot be imported is reported on standard error
// with the loader's message, and the rest are still imported. True when every log was imported.
bool openLogs(const std::vector<std::string>& logs);

// Places the camera so that the whole run is in view.
void fitViewToRun();

// Puts the time cursor at `time`: "HH:MM:SS:MS", "start" or "end". False, after a message on standard
// error, when that cannot be done.
bool moveTimeCursor(const std::string& time);
