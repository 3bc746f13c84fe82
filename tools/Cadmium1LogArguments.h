#pragma once

#include <string>

#include "tools/Cadmium1Log.h"

// The cadmium1log program's command line: --width --height --generations --seed --density --origin-x
// --origin-y --messages --states, each followed by its value (or joined to it with '='), and --help. Both
// files must be named.
struct Cadmium1LogCommand {
    Cadmium1LogOptions options;
    std::string messages;
    std::string states;
    bool help = false;
};

bool parseCadmium1LogArguments(int argc, const char* const* argv, Cadmium1LogCommand& command,
                               std::string& error);

const char* cadmium1LogUsage();
