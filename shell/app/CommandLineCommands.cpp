#include "shell/app/CommandLineCommands.h"

#include <cstdio>

#include "console/VDDEVSConsoleParser.h"
#include "gui/VDConsoleCommand.h"
#include "shell/Log.h"

bool runCommandLineCommands(const std::vector<std::string>& lines) {
    bool allRan = true;
    VDDEVSConsoleParser parser;
    for (const std::string& line : lines) {
        VDConsoleCommand* command = nullptr;
        std::string reply;
        const bool parsed = parser.parse(line, &command, reply);
        if (!reply.empty()) {
            logText(reply);
        }
        if (!parsed || command == nullptr) {
            std::fprintf(stderr, "tessaron: --command '%s': %s\n", line.c_str(), reply.c_str());
            allRan = false;
            continue;
        }
        // The command disposes of itself.
        command->execute();
    }
    return allRan;
}
