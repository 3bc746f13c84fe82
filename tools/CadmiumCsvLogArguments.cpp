#include "tools/CadmiumCsvLogArguments.h"

#include "tools/ArgumentValues.h"
#include "tools/HeatLogArguments.h"

namespace {

// "X,Y" or "X,Y,Z", whole numbers.
bool readOrigin(const std::string& text, std::array<int, 3>& origin) {
    std::array<int, 3> read{};
    size_t start = 0;
    int count = 0;
    while (count < 3) {
        const size_t comma = text.find(',', start);
        if (!readIntArgument(text.substr(start, comma - start), read[count])) {
            return false;
        }
        ++count;
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
        if (count == 3) {
            return false;
        }
    }
    if (count < 2) {
        return false;
    }
    origin = read;
    return true;
}

}  // namespace

const char* cadmiumCsvUsage() {
    return "usage: cadmiumcsv [--size WxH | --size WxHxD] [--steps N] [--substeps N] [--seed N] [--sources "
           "N]\n"
           "                  [--quantum F] [--origin X,Y[,Z]] [--separator C] [--sep-line] [--output FILE]\n"
           "Writes a heat diffusion run on a plane or in a box as a Cell-DEVS run logged in separated "
           "values\n"
           "(time;model_id;model_name;port_name;data), standard output without --output. A cell writes its\n"
           "output and state when it has moved by the quantum since its last report; every model writes its\n"
           "state at the start and the end. Defaults: 40x40, 20 steps, 1 substep, seed 1, 4 sources besides\n"
           "the corners, quantum 0.5, origin 0,0,0, separator ';'.\n";
}

bool parseCadmiumCsvArguments(int argc, const char* const* argv, CadmiumCsvCommand& command,
                              std::string& error) {
    CadmiumCsvOptions& o = command.options;
    const auto read = [&](const std::string& name, const std::string& value) {
        bool ok = true;
        if (name == "--help") {
            command.help = true;
        } else if (name == "--sep-line") {
            o.separatorLine = true;
        } else if (name == "--size") {
            ok = readHeatLogSize(value, o.field);
        } else if (name == "--steps") {
            ok = readIntArgument(value, o.field.steps);
        } else if (name == "--substeps") {
            ok = readIntArgument(value, o.field.substeps);
        } else if (name == "--seed") {
            ok = readSeedArgument(value, o.field.seed);
        } else if (name == "--sources") {
            ok = readIntArgument(value, o.field.sources);
        } else if (name == "--quantum") {
            ok = readDoubleArgument(value, o.field.quantum);
        } else if (name == "--origin") {
            ok = readOrigin(value, o.origin);
        } else if (name == "--separator") {
            ok = value.size() == 1;
            o.separator = ok ? value[0] : o.separator;
        } else if (name == "--output" || name == "--out") {
            ok = !value.empty();
            command.output = value;
        } else {
            return OptionRead::Unknown;
        }
        return ok ? OptionRead::Taken : OptionRead::BadValue;
    };
    if (!readOptions(argc, argv, {"--sep-line"}, read, error)) {
        return false;
    }
    return command.help || validCadmiumCsvOptions(o, &error);
}
