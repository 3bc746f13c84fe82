#include "console/CommandArguments.h"

#include "gui/VDConsole.h"
#include "shell/TextScan.h"

namespace commandargs {

std::string usage(const std::string& name, const std::string& arguments) {
    return "usage: " + name + arguments;
}

float number(const std::string& token) {
    float value = 0.0f;
    scanFloat(token.c_str(), value);
    return value;
}

void say(const std::string& line) {
    if (VDConsole* console = getConsole()) {
        console->print(line);
    }
}

}  // namespace commandargs
