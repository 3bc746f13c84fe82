#pragma once

#include <string>
#include <vector>

// --command LINE: console commands run, in the order given, once the command line's logs are imported and
// the view fitted, as if typed into the console (their replies in the console and the log). A line the
// console refuses (an unknown command, a usage line, a refused argument) is also reported on standard
// error; false when any was refused, so that --snapshot and --frames write no picture of a view that is
// not the one asked for.
bool runCommandLineCommands(const std::vector<std::string>& lines);
