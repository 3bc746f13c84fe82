#pragma once

#include <string>
#include <vector>

// Helpers the commands share for reading their arguments and writing their replies.
class SDCELLDevsModel;

namespace commandargs {

// "usage: " followed by the command's name and what its arguments look like, as the command table has it.
std::string usage(const std::string& name);
// The same with the arguments given here, for a command the table does not hold.
std::string usage(const std::string& name, const std::string& arguments);

// A number token read like "%f" (blanks skipped, the longest numeric prefix taken). A token that does not
// start with a number, or whose number is not finite, reads as 0.
float number(const std::string& token);
// The same reading in double precision, for values compared with what a log holds (read as doubles).
double value(const std::string& token);

// Writes a line into the console, if there is one.
void say(const std::string& line);

// For the replies of the newer commands, which reach the log file as well as the console: sets `reply`
// (which the console shows) and writes the same line to the log file only, so the console shows it once.
void answer(std::string& reply, const std::string& line);

// A whole token that is a decimal integer with an optional sign; values beyond the range of long long
// saturate. False for anything else (no number, trailing characters).
bool integer(const std::string& token, long long& value);

// A time written h:m:s:ms, four decimal integers with optional signs (components outside their usual
// ranges are accepted: 0:90:0:0 is an hour and a half). False for anything else.
bool simulatedTime(const std::string& token, double& milliseconds);

// Splits a line at blanks as the parser does (each blank ends a word, so neighbouring blanks give an empty
// one), except inside double quotes, which hold blanks and are themselves dropped: `"my run.png"` is one
// word. False for a quote left open.
bool splitQuoted(const std::string& line, std::vector<std::string>& words);

// The cell space a command names in the open visualization, or null once the reason is logged: "Unable to
// <doing>. Visualization does not exist.", "No model named <model>" or "<model> is not a Cell-DEVS model".
SDCELLDevsModel* cellSpace(const std::string& model, const std::string& doing);

}  // namespace commandargs
