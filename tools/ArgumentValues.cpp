#include "tools/ArgumentValues.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

bool readIntArgument(const std::string& text, int& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long read = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || read < INT_MIN || read > INT_MAX) {
        return false;
    }
    value = static_cast<int>(read);
    return true;
}

bool readSeedArgument(const std::string& text, uint64_t& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long read = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    value = read;
    return true;
}

bool readDoubleArgument(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const double read = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    value = read;
    return true;
}

bool readOptions(int argc, const char* const* argv, std::initializer_list<const char*> flags,
                 const std::function<OptionRead(const std::string& name, const std::string& value)>& read,
                 std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::string value;
        bool flag = name == "--help" || name == "-h";
        if (flag) {
            name = "--help";
        }
        for (const char* known : flags) {
            flag = flag || name == known;
        }
        if (!flag) {
            const size_t equals = name.find('=');
            if (equals != std::string::npos) {
                value = name.substr(equals + 1);
                name.erase(equals);
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                error = "missing value for " + name;
                return false;
            }
        }
        switch (read(name, value)) {
            case OptionRead::Taken:
                break;
            case OptionRead::BadValue:
                error = "bad value for " + name + ": '" + value + "'";
                return false;
            case OptionRead::Unknown:
                error = "unknown option " + name;
                return false;
        }
    }
    return true;
}
