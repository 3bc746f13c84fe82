#pragma once

#include <string_view>

// Cuts a log line at every '/' and ' ' (a tab is not a separator); a run of separators counts as one and
// separators at either end make no empty field. Stores up to `capacity` fields, viewing into `line`, and
// returns how many there are, or capacity + 1 as soon as there are more (the rest is not looked at).
int cutLogFields(const char* line, std::string_view* fields, int capacity);
