#pragma once

#include <string>

#include "tools/CadmiumCsvLog.h"

// The cadmiumcsv program's command line: --size WxH or WxHxD, --steps, --substeps, --seed, --sources,
// --quantum, --origin X,Y[,Z], --separator C and --output (or --out), each followed by its value (or
// joined to it with '='); the flags --sep-line and --help.
struct CadmiumCsvCommand {
    CadmiumCsvOptions options;
    std::string output;  // empty: standard output
    bool help = false;
};

// Reads argv[1..argc-1] into `command`. False with the reason in `error` for an unknown option, a missing
// or malformed value, or options that describe no writable run.
bool parseCadmiumCsvArguments(int argc, const char* const* argv, CadmiumCsvCommand& command,
                              std::string& error);

const char* cadmiumCsvUsage();
