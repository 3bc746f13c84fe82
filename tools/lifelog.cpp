// Writes a Game of Life run as a Cell-DEVS message log, for samples, tests and benchmarks.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/LifeLog.h"
#include "tools/LifeLogArguments.h"

int main(int argc, char** argv) {
    // The log is written through std::cout when no file is named; it need not keep in step with stdio.
    std::ios::sync_with_stdio(false);
    LifeLogCommand command;
    std::string error;
    if (!parseLifeLogArguments(argc, argv, command, error)) {
        std::fprintf(stderr, "lifelog: %s\n%s", error.c_str(), lifeLogUsage());
        return 2;
    }
    if (command.help) {
        std::cout << lifeLogUsage();
        return 0;
    }

    std::ofstream file;
    if (!command.output.empty()) {
        file.open(command.output, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "lifelog: cannot open %s for writing\n", command.output.c_str());
            return 1;
        }
    }
    std::ostream& out = command.output.empty() ? std::cout : file;
    LifeLogSummary summary;
    if (!writeLifeLog(command.options, out, &summary)) {
        std::fprintf(stderr, "lifelog: writing %s failed\n",
                     command.output.empty() ? "to standard output" : command.output.c_str());
        return 1;
    }
    if (file.is_open()) {
        file.close();
        if (file.fail()) {
            std::fprintf(stderr, "lifelog: writing %s failed\n", command.output.c_str());
            return 1;
        }
    }
    std::fprintf(stderr, "lifelog: %dx%d, %d generations with changes, %lld lines (%lld X, %lld Y)%s%s\n",
                 command.options.width, command.options.height, summary.generations, summary.lines,
                 summary.externalMessages, summary.outputMessages, command.output.empty() ? "" : " -> ",
                 command.output.c_str());
    return 0;
}
