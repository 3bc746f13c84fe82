#include "tools/LifeLogArguments.h"

#include "tools/ArgumentValues.h"

const char* lifeLogUsage() {
    return "usage: lifelog [--width N] [--height N] [--generations N] [--seed N] [--density F] "
           "[--output FILE]\n"
           "Writes a Game of Life run on a W x H torus as a Cell-DEVS message log (standard output without\n"
           "--output). Defaults: 20 x 20, 10 generations, seed 1, density 0.3.\n";
}

bool parseLifeLogArguments(int argc, const char* const* argv, LifeLogCommand& command, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            command.help = true;
            continue;
        }
        std::string value;
        const size_t equals = name.find('=');
        if (equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            error = "missing value for " + name;
            return false;
        }

        LifeLogOptions& o = command.options;
        bool ok = true;
        if (name == "--width") {
            ok = readIntArgument(value, o.width);
        } else if (name == "--height") {
            ok = readIntArgument(value, o.height);
        } else if (name == "--generations") {
            ok = readIntArgument(value, o.generations);
        } else if (name == "--seed") {
            ok = readSeedArgument(value, o.seed);
        } else if (name == "--density") {
            ok = readDoubleArgument(value, o.density);
        } else if (name == "--output") {
            ok = !value.empty();
            command.output = value;
        } else {
            error = "unknown option " + name;
            return false;
        }
        if (!ok) {
            error = "bad value for " + name + ": '" + value + "'";
            return false;
        }
    }
    return command.help || validLifeLogOptions(command.options, &error);
}
