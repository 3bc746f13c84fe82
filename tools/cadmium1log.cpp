// Writes a Game of Life run as a Cadmium 1 message file and state file, for samples and benchmarks.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/Cadmium1Log.h"
#include "tools/Cadmium1LogArguments.h"

int main(int argc, char** argv) {
    Cadmium1LogCommand command;
    std::string error;
    if (!parseCadmium1LogArguments(argc, argv, command, error)) {
        std::fprintf(stderr, "cadmium1log: %s\n%s", error.c_str(), cadmium1LogUsage());
        return 2;
    }
    if (command.help) {
        std::cout << cadmium1LogUsage();
        return 0;
    }
    std::ofstream messages(command.messages, std::ios::out | std::ios::trunc | std::ios::binary);
    std::ofstream states(command.states, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!messages || !states) {
        std::fprintf(stderr, "cadmium1log: cannot open %s for writing\n",
                     !messages ? command.messages.c_str() : command.states.c_str());
        return 1;
    }
    Cadmium1LogSummary summary;
    bool written = writeCadmium1Log(command.options, messages, states, &summary);
    messages.close();
    states.close();
    written = written && !messages.fail() && !states.fail();
    if (!written) {
        std::fprintf(stderr, "cadmium1log: writing %s and %s failed\n", command.messages.c_str(),
                     command.states.c_str());
        return 1;
    }
    std::fprintf(stderr, "cadmium1log: %dx%d, %lld message lines -> %s, %lld state lines -> %s\n",
                 command.options.width, command.options.height, summary.messageLines,
                 command.messages.c_str(), summary.stateLines, command.states.c_str());
    return 0;
}
