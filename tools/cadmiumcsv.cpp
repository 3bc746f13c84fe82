// Writes a heat diffusion run as a Cell-DEVS run logged in separated values, for samples, pictures and
// benchmarks.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/CadmiumCsvLog.h"
#include "tools/CadmiumCsvLogArguments.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    CadmiumCsvCommand command;
    std::string error;
    if (!parseCadmiumCsvArguments(argc, argv, command, error)) {
        std::fprintf(stderr, "cadmiumcsv: %s\n%s", error.c_str(), cadmiumCsvUsage());
        return 2;
    }
    if (command.help) {
        std::cout << cadmiumCsvUsage();
        return 0;
    }
    std::ofstream file;
    if (!command.output.empty()) {
        file.open(command.output, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "cadmiumcsv: cannot open %s for writing\n", command.output.c_str());
            return 1;
        }
    }
    std::ostream& out = command.output.empty() ? std::cout : file;
    CadmiumCsvSummary summary;
    bool written = writeCadmiumCsvLog(command.options, out, &summary);
    if (file.is_open()) {
        file.close();
        written = written && !file.fail();
    }
    if (!written) {
        std::fprintf(stderr, "cadmiumcsv: writing %s failed\n",
                     command.output.empty() ? "to standard output" : command.output.c_str());
        return 1;
    }
    const HeatLogOptions& o = command.options.field;
    std::fprintf(stderr, "cadmiumcsv: %dx%dx%d, %d steps, %lld lines (%lld outputs, %lld states)%s%s\n",
                 o.width, o.height, o.depth, o.steps, summary.lines, summary.outputRows, summary.stateRows,
                 command.output.empty() ? "" : " -> ", command.output.c_str());
    return 0;
}
