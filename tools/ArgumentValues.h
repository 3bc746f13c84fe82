#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

// Option values of the log generators' command lines. Whole-text numbers only: "12x", "" and out-of-range
// values are refused rather than read in part; each returns false and leaves `value` alone then.
bool readIntArgument(const std::string& text, int& value);
// Digits only: strtoull would quietly turn "-1" into the largest value.
bool readSeedArgument(const std::string& text, uint64_t& value);
bool readDoubleArgument(const std::string& text, double& value);

// What an option's reader made of it.
enum class OptionRead { Taken, BadValue, Unknown };

// Walks argv[1..argc-1]. An option is "--name value" or "--name=value"; the names in `flags` (and "--help"
// and "-h", reported as "--help") take no value and reach `read` with an empty one. False, with the reason
// in `error`, at the first option whose value is missing, that `read` does not know or whose value it
// refuses.
bool readOptions(int argc, const char* const* argv, std::initializer_list<const char*> flags,
                 const std::function<OptionRead(const std::string& name, const std::string& value)>& read,
                 std::string& error);

// The options of a Game of Life run that the generators of its logs share: --width, --height, --generations,
// --seed and --density. Unknown for any other name.
template <class Options>
OptionRead readLifeRunOption(const std::string& name, const std::string& value, Options& o) {
    bool ok = false;
    if (name == "--width") {
        ok = readIntArgument(value, o.width);
    } else if (name == "--height") {
        ok = readIntArgument(value, o.height);
    } else if (name == "--generations") {
        ok = readIntArgument(value, o.generations);
    } else if (name == "--seed") {
        ok = readSeedArgument(value, o.seed);
    } else if (name == "--density") {
        ok = readDoubleArgument(value, o.density);
    } else {
        return OptionRead::Unknown;
    }
    return ok ? OptionRead::Taken : OptionRead::BadValue;
}
