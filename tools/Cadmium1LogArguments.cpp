#include "tools/Cadmium1LogArguments.h"

#include "tools/ArgumentValues.h"

const char* cadmium1LogUsage() {
    return "usage: cadmium1log [--width N] [--height N] [--generations N] [--seed N] [--density F]\n"
           "                   [--origin-x N] [--origin-y N] --messages FILE --states FILE\n"
           "Writes a Game of Life run on a W x H torus as a Cadmium 1 message file and state file, the "
           "cells\n"
           "numbered from the origin. Defaults: 20 x 20, 10 generations, seed 1, density 0.3, origin 0,0.\n";
}

bool parseCadmium1LogArguments(int argc, const char* const* argv, Cadmium1LogCommand& command,
                               std::string& error) {
    Cadmium1LogOptions& o = command.options;
    const auto read = [&](const std::string& name, const std::string& value) {
        if (const OptionRead life = readLifeRunOption(name, value, o); life != OptionRead::Unknown) {
            return life;
        }
        bool ok = true;
        if (name == "--help") {
            command.help = true;
        } else if (name == "--origin-x") {
            ok = readIntArgument(value, o.originX);
        } else if (name == "--origin-y") {
            ok = readIntArgument(value, o.originY);
        } else if (name == "--messages") {
            ok = !value.empty();
            command.messages = value;
        } else if (name == "--states") {
            ok = !value.empty();
            command.states = value;
        } else {
            return OptionRead::Unknown;
        }
        return ok ? OptionRead::Taken : OptionRead::BadValue;
    };
    if (!readOptions(argc, argv, {}, read, error)) {
        return false;
    }
    if (command.help) {
        return true;
    }
    if (command.messages.empty() || command.states.empty()) {
        error = "both --messages and --states are needed";
        return false;
    }
    return validCadmium1LogOptions(o, &error);
}
