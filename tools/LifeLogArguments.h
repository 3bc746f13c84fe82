#pragma once

#include <string>

#include "tools/LifeLog.h"

// The lifelog program's command line: --width --height --generations --seed --density --output, each
// followed by its value (or joined to it with '='), and --help.
struct LifeLogCommand {
    LifeLogOptions options;
    std::string output;  // empty: standard output
    bool help = false;
};

// Reads argv[1..argc-1] into `command`. False with the reason in `error` for an unknown option, a missing
// or malformed value, or options that describe no writable run.
bool parseLifeLogArguments(int argc, const char* const* argv, LifeLogCommand& command, std::string& error);

const char* lifeLogUsage();
