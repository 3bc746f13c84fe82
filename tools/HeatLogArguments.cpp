#include "tools/HeatLogArguments.h"

#include <vector>

#include "tools/ArgumentValues.h"

const char* heatLogUsage() {
    return "usage: heatlog [--size WxH | --size WxHxD] [--steps N] [--substeps N] [--seed N] [--sources N]\n"
           "               [--quantum F] [--name NAME] [--neighbours | --no-neighbours] [--output FILE]\n"
           "Writes a heat diffusion run on a plane or in a box as a Cell-DEVS message log (standard output\n"
           "without --output). A cell sends its temperature when it has moved by the quantum since its last\n"
           "report; the field diffuses --substeps times between two reports. Defaults: 40x40, 20 steps,\n"
           "1 substep, seed 1, 4 sources besides the corners, quantum 0.5, cell space heat, X neighbour\n"
           "lines on.\n";
}

bool readHeatLogSize(const std::string& text, HeatLogOptions& options) {
    std::vector<int> sides;
    size_t start = 0;
    while (true) {
        const size_t cross = text.find('x', start);
        int side = 0;
        if (!readIntArgument(text.substr(start, cross - start), side)) {
            return false;
        }
        sides.push_back(side);
        if (cross == std::string::npos) {
            break;
        }
        start = cross + 1;
    }
    if (sides.size() != 2 && sides.size() != 3) {
        return false;
    }
    options.width = sides[0];
    options.height = sides[1];
    options.threeD = sides.size() == 3;
    options.depth = options.threeD ? sides[2] : 1;
    return true;
}

bool parseHeatLogArguments(int argc, const char* const* argv, HeatLogCommand& command, std::string& error) {
    HeatLogOptions& o = command.options;
    const auto read = [&](const std::string& name, const std::string& value) {
        bool ok = true;
        if (name == "--help") {
            command.help = true;
        } else if (name == "--neighbours" || name == "--no-neighbours") {
            o.neighbours = name == "--neighbours";
        } else if (name == "--size") {
            ok = readHeatLogSize(value, o);
        } else if (name == "--steps") {
            ok = readIntArgument(value, o.steps);
        } else if (name == "--substeps") {
            ok = readIntArgument(value, o.substeps);
        } else if (name == "--seed") {
            ok = readSeedArgument(value, o.seed);
        } else if (name == "--sources") {
            ok = readIntArgument(value, o.sources);
        } else if (name == "--quantum") {
            ok = readDoubleArgument(value, o.quantum);
        } else if (name == "--name") {
            o.name = value;
        } else if (name == "--output" || name == "--out") {
            ok = !value.empty();
            command.output = value;
        } else {
            return OptionRead::Unknown;
        }
        return ok ? OptionRead::Taken : OptionRead::BadValue;
    };
    if (!readOptions(argc, argv, {"--neighbours", "--no-neighbours"}, read, error)) {
        return false;
    }
    return command.help || validHeatLogOptions(o, &error);
}
