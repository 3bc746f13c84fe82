#pragma once

#include <memory>
#include <string>
#include <vector>

class VDConsoleCommand;

// Every console command, in one table: its name, what follows the name in its usage line, a sentence
// on what it does, and how it is made. The parser finds commands here, Tab completes their names from
// here, the commands' usage lines and `help` read it. A new command needs one entry and nothing else.
struct CommandEntry {
    const char* name;
    // What the usage line has after the name: "usage: vis_new $visualization_name".
    const char* arguments;
    const char* summary;
    std::unique_ptr<VDConsoleCommand> (*make)(const std::string& name);
    // The arguments may be quoted ("my run.png") to hold blanks.
    bool quotedArguments = false;
};

namespace commandtable {

// In alphabetical order of name, as Tab lists them.
const std::vector<CommandEntry>& entries();
// The entry of that name, or null.
const CommandEntry* find(const std::string& name);
// "usage: " followed by the name and the arguments; "usage: <name>" for a name without an entry.
std::string usage(const std::string& name);

}  // namespace commandtable
