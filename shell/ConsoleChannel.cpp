#include "shell/ConsoleChannel.h"

namespace {
ConsoleSink g_sink = nullptr;
}

void setConsoleSink(ConsoleSink sink) {
    g_sink = sink;
}

bool consoleAvailable() {
    return g_sink != nullptr;
}

void consolePrint(const std::string& line) {
    if (g_sink != nullptr) {
        g_sink(line);
    }
}
