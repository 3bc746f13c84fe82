#include "tools/DevsLogArguments.h"

#include "tools/ArgumentValues.h"

const char* devsLogUsage() {
    return "usage: devslog [--depth N] [--fanout N] [--steps N] [--seed N] [--output FILE]\n"
           "Writes a run of plain DEVS models as a message log (standard output without --output): top "
           "holds\n"
           "--fanout coupled models, each of them --fanout more, --depth levels down to atomic models. Each\n"
           "step sends an input from Root to an atomic model, which answers 10 ms later to Root and to its\n"
           "next sibling. Defaults: depth 2, fan-out 3, 100 steps, seed 1.\n";
}

bool parseDevsLogArguments(int argc, const char* const* argv, DevsLogCommand& command, std::string& error) {
    DevsLogOptions& o = command.options;
    const auto read = [&](const std::string& name, const std::string& value) {
        bool ok = true;
        if (name == "--help") {
            command.help = true;
        } else if (name == "--depth") {
            ok = readIntArgument(value, o.depth);
        } else if (name == "--fanout") {
            ok = readIntArgument(value, o.fanout);
        } else if (name == "--steps") {
            ok = readIntArgument(value, o.steps);
        } else if (name == "--seed") {
            ok = readSeedArgument(value, o.seed);
        } else if (name == "--output" || name == "--out") {
            ok = !value.empty();
            command.output = value;
        } else {
            return OptionRead::Unknown;
        }
        return ok ? OptionRead::Taken : OptionRead::BadValue;
    };
    if (!readOptions(argc, argv, {}, read, error)) {
        return false;
    }
    return command.help || validDevsLogOptions(o, &error);
}
