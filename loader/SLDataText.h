#pragma once

#include <string>
#include <string_view>

// The numbers in a model's state or message text, as formats that log data as free text give it
// ("<0.5,12>", "{level: 4, busy: 1}", "closed"). A number is what strtod reads from an optional sign, a
// digit or a '.' followed by a digit, and it begins a word: a digit right after a letter, a digit, '_' or
// '.' is part of a name ("x1", "cell_3"), not a number. "inf" and "nan" are words, not numbers.
namespace SLDataText {

// The number at `index` (0 the first) in `text`; false when the text holds fewer.
bool number(std::string_view text, int index, double& value);

// Removes the terminal's colour codes (ESC '[' … a letter) that logs captured from a console carry.
// Returns whether any was removed.
bool stripColours(std::string& text);

}  // namespace SLDataText
