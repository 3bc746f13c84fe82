#pragma once

#include <cstdarg>
#include <string>

// Formats `format` with `args` by the printf rules into `out`, replacing what it held: the text is always
// what vsnprintf would write. The directives that messages use most (%s, %c, %d, %i and %u, with l, ll or
// z, and %%) are converted here, which costs a fraction of the C library's set-up for each call; a format
// with any other directive, flag, width or precision goes to vsnprintf whole. False, with `out` empty, when
// vsnprintf reports an error.
bool formatLogText(std::string& out, const char* format, va_list args);

// The same, returned: printf-formatted text of any length, for replies that may hold numbers as long as
// a double's 309 digits.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A value as it is shown: printf's %g, except that a whole number of up to 15 digits keeps all its digits
// (192168116224, not 1.92168e+11), so that an address or a count reads as the log wrote it.
std::string numberText(double value);
