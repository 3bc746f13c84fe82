// Writes a heat diffusion run as a Cell-DEVS message log, for samples, pictures and benchmarks.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/HeatLog.h"
#include "tools/HeatLogArguments.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    HeatLogCommand command;
    std::string error;
    if (!parseHeatLogArguments(argc, argv, command, error)) {
        std::fprintf(stderr, "heatlog: %s\n%s", error.c_str(), heatLogUsage());
        return 2;
    }
    if (command.help) {
        std::cout << heatLogUsage();
        return 0;
    }

    std::ofstream file;
    if (!command.output.empty()) {
        file.open(command.output, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "heatlog: cannot open %s for writing\n", command.output.c_str());
            return 1;
        }
    }
    std::ostream& out = command.output.empty() ? std::cout : file;
    HeatLogSummary summary;
    bool written = writeHeatLog(command.options, out, &summary);
    if (file.is_open()) {
        file.close();
        written = written && !file.fail();
    }
    if (!written) {
        std::fprintf(stderr, "heatlog: writing %s failed\n",
                     command.output.empty() ? "to standard output" : command.output.c_str());
        return 1;
    }
    const HeatLogOptions& o = command.options;
    std::fprintf(
        stderr, "heatlog: %dx%dx%d, %d steps, %lld lines (%lld X, %lld Y), %lld cells reported%s%s\n",
        o.width, o.height, o.depth, o.steps, summary.lines, summary.externalMessages, summary.outputMessages,
        summary.cellsReported, command.output.empty() ? "" : " -> ", command.output.c_str());
    return 0;
}
