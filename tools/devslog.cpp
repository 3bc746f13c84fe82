// Writes a run of plain DEVS models as a message log, for samples, tests and benchmarks.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/DevsLog.h"
#include "tools/DevsLogArguments.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    DevsLogCommand command;
    std::string error;
    if (!parseDevsLogArguments(argc, argv, command, error)) {
        std::fprintf(stderr, "devslog: %s\n%s", error.c_str(), devsLogUsage());
        return 2;
    }
    if (command.help) {
        std::cout << devsLogUsage();
        return 0;
    }

    std::ofstream file;
    if (!command.output.empty()) {
        file.open(command.output, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "devslog: cannot open %s for writing\n", command.output.c_str());
            return 1;
        }
    }
    std::ostream& out = command.output.empty() ? std::cout : file;
    DevsLogSummary summary;
    bool written = writeDevsLog(command.options, out, &summary);
    if (file.is_open()) {
        file.close();
        written = written && !file.fail();
    }
    if (!written) {
        std::fprintf(stderr, "devslog: writing %s failed\n",
                     command.output.empty() ? "to standard output" : command.output.c_str());
        return 1;
    }
    const DevsLogOptions& o = command.options;
    std::fprintf(stderr,
                 "devslog: depth %d, fan-out %d, %d steps: %lld models (%lld atomic), %lld lines (%lld X, "
                 "%lld Y)%s%s\n",
                 o.depth, o.fanout, o.steps, summary.models, summary.atomics, summary.lines,
                 summary.externalMessages, summary.outputMessages, command.output.empty() ? "" : " -> ",
                 command.output.c_str());
    return 0;
}
