#include "tests/support/LogRecorder.h"

#include <algorithm>

#include "shell/ConsoleChannel.h"
#include "shell/EngineVariables.h"

namespace {
std::vector<std::string>& recorded() {
    static std::vector<std::string> lines;
    return lines;
}
void record(const std::string& line) {
    recorded().push_back(line);
}
}  // namespace

LogRecorder::LogRecorder() {
    recorded().clear();
    getEngineVariables()->setBool("console_logging", true);
    getEngineVariables()->setBool("file_logging", false);
    setConsoleSink(&record);
}

LogRecorder::~LogRecorder() {
    setConsoleSink(nullptr);
    getEngineVariables()->removeVariable("console_logging");
    recorded().clear();
}

const std::vector<std::string>& LogRecorder::lines() const {
    return recorded();
}

void LogRecorder::clear() {
    recorded().clear();
}

size_t LogRecorder::count(const std::string& line) const {
    return static_cast<size_t>(std::count(recorded().begin(), recorded().end(), line));
}

std::string LogRecorder::text() const {
    std::string all;
    for (const std::string& line : recorded()) {
        all += line;
        all += '\n';
    }
    return all;
}
