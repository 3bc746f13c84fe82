#pragma once

#include <string>
#include <vector>

// Helpers the commands share for reading their arguments and writing their replies.
namespace commandargs {

// "usage: " followed by the command's name and what its arguments look like.
std::string usage(const std::string& name, const std::string& arguments = "");

// A number token read like "%f" (blanks skipped, the longest numeric prefix taken). A token that does not
// start with a number, or whose number is not finite, reads as 0.
float number(const std::string& token);
// The same reading in double precision, for values compared with what a log holds (read as doubles).
double value(const std::string& token);

// Writes a line into the console, if there is one.
void say(const std::string& line);

// Writes a line of a reply to the log, which shows it in the console too (while console logging is on):
// what the newer commands report reaches both, once.
void report(const std::string& line);

}  // namespace commandargs
