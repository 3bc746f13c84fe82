#include "console/CommandArguments.h"

#include <climits>
#include <cmath>

#include "console/CommandTable.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "shell/Log.h"
#include "shell/TextScan.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDVisualization.h"

namespace commandargs {

std::string usage(const std::string& name) {
    return commandtable::usage(name);
}

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

void answer(std::string& reply, const std::string& line) {
    reply = line;
    logFileText(line);
}

bool integer(const std::string& token, long long& value) {
    size_t at = 0;
    const bool negative = !token.empty() && token[0] == '-';
    if (!token.empty() && (token[0] == '-' || token[0] == '+')) {
        at = 1;
    }
    if (at == token.size()) {
        return false;
    }
    unsigned long long magnitude = 0;
    constexpr unsigned long long kLimit = static_cast<unsigned long long>(LLONG_MAX) + 1;
    for (; at < token.size(); ++at) {
        if (token[at] < '0' || token[at] > '9') {
            return false;
        }
        const auto digit = static_cast<unsigned>(token[at] - '0');
        magnitude = magnitude > (kLimit - digit) / 10 ? kLimit : magnitude * 10 + digit;
    }
    if (negative) {
        value = magnitude >= kLimit ? LLONG_MIN : -static_cast<long long>(magnitude);
    } else {
        value = magnitude >= kLimit ? LLONG_MAX : static_cast<long long>(magnitude);
    }
    return true;
}

bool simulatedTime(const std::string& token, double& milliseconds) {
    // Hours, minutes, seconds and milliseconds, as many milliseconds each.
    const double units[4] = {3600000.0, 60000.0, 1000.0, 1.0};
    double total = 0.0;
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t colon = i < 3 ? token.find(':', start) : token.size();
        if (colon == std::string::npos) {
            return false;
        }
        long long component = 0;
        if (!integer(token.substr(start, colon - start), component)) {
            return false;
        }
        total += static_cast<double>(component) * units[i];
        start = colon + 1;
    }
    milliseconds = total;
    return true;
}

bool splitQuoted(const std::string& line, std::vector<std::string>& words) {
    std::vector<std::string> split;
    std::string word;
    bool started = false;  // something, if only a pair of quotes, since the last blank
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if (c == ' ' && !quoted) {
            split.push_back(word);
            word.clear();
            started = false;
        } else {
            word += c;
            started = true;
        }
    }
    if (quoted) {
        return false;
    }
    if (started) {
        split.push_back(word);
    }
    words.swap(split);
    return true;
}

SDCELLDevsModel* cellSpace(const std::string& model, const std::string& doing) {
    SDVisualization* visualization = getVisualization();
    if (visualization == nullptr) {
        logText("Unable to " + doing + ". Visualization does not exist.");
        return nullptr;
    }
    SDDevsModel* found = visualization->getModelList()->findModel(model);
    if (found == nullptr) {
        logText("No model named " + model);
        return nullptr;
    }
    auto* cells = dynamic_cast<SDCELLDevsModel*>(found);
    if (cells == nullptr) {
        logText(model + " is not a Cell-DEVS model");
    }
    return cells;
}

}  // namespace commandargs
