#include "console/CommandArguments.h"

#include <cmath>

#include "gui/VDConsole.h"
#include "shell/Log.h"
#include "shell/TextScan.h"

namespace commandargs {

std::string usage(const std::string& name, const std::string& arguments) {
    return "usage: " + name + arguments;
}

float number(const std::string& token) {
    float value = 0.0f;
    scanFloat(token.c_str(), value);
    // "nan", "inf" and values beyond the float range would leave the camera or a cube where no later
    // command can bring it back.
    return std::isfinite(value) ? value : 0.0f;
}

double value(const std::string& token) {
    double read = 0.0;
    scanDouble(token.c_str(), read);
    return std::isfinite(read) ? read : 0.0;
}

void say(const std::string& line) {
    if (VDConsole* console = getConsole()) {
        console->print(line);
    }
}

void report(const std::string& line) {
    logText(line);
}

}  // namespace commandargs
