#pragma once

#include <string>
#include <string_view>
#include <vector>

// The lines of a simulation run written as separated values, one message or state a row:
//   time<sep>model_id<sep>model_name<sep>port_name<sep>data
// after the header of those five names (itself after an optional "sep=X" line that names the separator;
// without it the separator is the header's fifth character). The data is free text and may hold the
// separator; a cell's name, "(3,4)", holds it when the separator is ','.
namespace SLCsvRow {

// A row cut into its fields, viewing into the line.
struct Fields {
    std::string_view time;
    std::string_view id;
    std::string_view name;
    std::string_view port;  // empty: a state row
    std::string_view data;
    double seconds = 0.0;
};

// The separator named by a "sep=X" line; false for any other line.
bool separatorLine(std::string_view line, char& separator);
// Whether `line` is the header with `separator` (0: the header's fifth character), which it then sets.
// Blanks after the header are allowed.
bool headerLine(std::string_view line, char& separator);
// Whether the first lines of a file begin as such a run does: blank lines and a byte order mark allowed
// before an optional "sep=X" line and the header.
bool recognise(const std::vector<std::string>& lines);
// Removes a UTF-8 byte order mark from the front of `line`.
std::string_view withoutByteOrderMark(std::string_view line);

// Whether the line begins with a number (a time, "inf" too) and the separator: a row, or a line that
// tried to be one. Sets `seconds` to that number.
bool beginsRow(std::string_view line, char separator, double& seconds);
// Cuts a line that begins a row: the time and the id at the separator, the name (for a name that begins
// with '(' up to its matching ')'), the port at the next separator (or the line's end), and the rest is
// the data. False when the line does not have those fields.
bool cut(std::string_view line, char separator, Fields& fields);

// The same for a line whose time, up to the separator at `timeEnd`, was read already into
// `fields.seconds`: rows come in runs of one time, read once.
bool cutAfterTime(std::string_view line, char separator, size_t timeEnd, Fields& fields);

// How many of '{', '[', '(' and '<' the text leaves open: the depth at its end, starting from `depth`,
// never below 0.
int openBrackets(std::string_view text, int depth);

// The coordinates of a cell's name "(3,4)" or "( 0, -2, 1 )": up to 3 stored in `coordinates` and their
// count in `dimensions` (more than 3 are counted but not stored). False when a piece is not a whole
// number of at most 9 digits or the name is not in parentheses.
bool cellCoordinates(std::string_view name, int coordinates[3], int& dimensions);

}  // namespace SLCsvRow
