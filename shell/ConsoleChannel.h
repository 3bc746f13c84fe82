#pragma once

#include <string>

// The one way that code below the GUI writes a line into the on-screen console. The console installs a
// sink while it exists; without one, lines are dropped.
using ConsoleSink = void (*)(const std::string& line);

void setConsoleSink(ConsoleSink sink);
bool consoleAvailable();
void consolePrint(const std::string& line);
