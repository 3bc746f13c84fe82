#include "tools/LifeLogArguments.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// Whole-text numbers only: "12x", "" and out-of-range values are refused rather than read in part.
bool readInt(const std::string& text, int& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long read = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || read < INT_MIN || read > INT_MAX) {
        return false;
    }
    value = static_cast<int>(read);
    return true;
}

bool readSeed(const std::string& text, uint64_t& value) {
    // strtoull would quietly turn "-1" into the largest value.
    if (text.empty() || text[0] < '0' || text[0] > '9') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long read = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    value = read;
    return true;
}

bool readDouble(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const double read = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    value = read;
    return true;
}

}  // namespace

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
            ok = readInt(value, o.width);
        } else if (name == "--height") {
            ok = readInt(value, o.height);
        } else if (name == "--generations") {
            ok = readInt(value, o.generations);
        } else if (name == "--seed") {
            ok = readSeed(value, o.seed);
        } else if (name == "--density") {
            ok = readDouble(value, o.density);
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
