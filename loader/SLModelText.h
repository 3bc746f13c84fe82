#pragma once

#include <string>
#include <string_view>
#include <vector>

// Small readers for the text of model and palette files. Each is strict: the whole text must be what it
// reads, or it reads nothing and answers false.
namespace sltext {

// Without blanks (spaces, tabs, '\r') at either end.
std::string_view trim(std::string_view text);
// ASCII letters in lower case.
std::string lower(std::string_view text);
// The words between blanks.
std::vector<std::string> words(std::string_view text);
// A decimal number (as strtod reads it) that is finite, and nothing else.
bool number(std::string_view text, double& value);
// A whole number of decimal digits that fits an unsigned (up to 4294967295), and nothing else.
bool count(std::string_view text, unsigned& value);
// "(a,b)" or "(a,b,c)" of whole numbers (blanks allowed around them); false for anything else. `minimum`
// and `maximum` bound how many there may be.
bool coordinates(std::string_view text, std::vector<unsigned>& values, size_t minimum, size_t maximum);
// "(8,8,8)" or "(25,25)".
std::string coordinatesText(const std::vector<unsigned>& values);
// A file named in another file: relative to that file's folder unless it is absolute.
std::string besides(const std::string& file, const std::string& named);

}  // namespace sltext
