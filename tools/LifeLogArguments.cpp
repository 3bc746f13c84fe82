#include "tools/LifeLogArguments.h"

#include "tools/ArgumentValues.h"

const char* lifeLogUsage() {
    return "usage: lifelog [--width N] [--height N] [--generations N] [--seed N] [--density F] "
           "[--output FILE]\n"
           "Writes a Game of Life run on a W x H torus as a Cell-DEVS message log (standard output without\n"
           "--output). Defaults: 20 x 20, 10 generations, seed 1, density 0.3.\n";
}

bool parseLifeLogArguments(int argc, const char* const* argv, LifeLogCommand& command, std::string& error) {
    LifeLogOptions& o = command.options;
    const auto read = [&](const std::string& name, const std::string& value) {
        if (const OptionRead life = readLifeRunOption(name, value, o); life != OptionRead::Unknown) {
            return life;
        }
        bool ok = true;
        if (name == "--help") {
            command.help = true;
        } else if (name == "--output") {
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
    return command.help || validLifeLogOptions(o, &error);
}
