#pragma once

#include <cstdint>
#include <string>

// Option values of the log generators' command lines. Whole-text numbers only: "12x", "" and out-of-range
// values are refused rather than read in part; each returns false and leaves `value` alone then.
bool readIntArgument(const std::string& text, int& value);
// Digits only: strtoull would quietly turn "-1" into the largest value.
bool readSeedArgument(const std::string& text, uint64_t& value);
bool readDoubleArgument(const std::string& text, double& value);
