#pragma once

#include <string>

#include "tools/DevsLog.h"

// The devslog program's command line: --depth, --fanout, --steps, --seed and --output (or --out), each
// followed by its value (or joined to it with '='), and --help.
struct DevsLogCommand {
    DevsLogOptions options;
    std::string output;  // empty: standard output
    bool help = false;
};

// Reads argv[1..argc-1] into `command`. False with the reason in `error` for an unknown option, a missing
// or malformed value, or options that describe no writable run.
bool parseDevsLogArguments(int argc, const char* const* argv, DevsLogCommand& command, std::string& error);

const char* devsLogUsage();
