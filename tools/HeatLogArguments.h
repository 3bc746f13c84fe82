#pragma once

#include <string>

#include "tools/HeatLog.h"

// The heatlog program's command line: --size WxH or WxHxD, --steps, --substeps, --seed, --sources, --quantum,
// --name and --output (or --out), each followed by its value (or joined to it with '='); the flags
// --neighbours, --no-neighbours and --help.
struct HeatLogCommand {
    HeatLogOptions options;
    std::string output;  // empty: standard output
    bool help = false;
};

// Reads argv[1..argc-1] into `command`. False with the reason in `error` for an unknown option, a missing
// or malformed value, or options that describe no writable run.
bool parseHeatLogArguments(int argc, const char* const* argv, HeatLogCommand& command, std::string& error);

// "WxH" (a plane) or "WxHxD" (a box), each side a whole number.
bool readHeatLogSize(const std::string& text, HeatLogOptions& options);

const char* heatLogUsage();
