#pragma once

// Number scanning with the rules of the "%d", "%f" and "%lf" conversions of formatted input (leading blanks
// skipped, the longest numeric prefix taken), but without their undefined behaviour on overflow: integers
// saturate at the limits of int. Each returns false, leaving `out` untouched, when no number starts the text.
// `end`, when given, receives the position just past the number.
bool scanInt(const char* text, int& out, const char** end = nullptr);
bool scanFloat(const char* text, float& out);
bool scanDouble(const char* text, double& out);
