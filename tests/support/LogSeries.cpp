#include "tests/support/LogSeries.h"

#include <sstream>

#include "tests/support/TempDir.h"

namespace {

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : line) {
        if (c == '/' || c == ' ' || c == '\r') {
            if (!part.empty()) {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) {
        parts.push_back(part);
    }
    return parts;
}

// name(id) -> name; name(x,y)(id) -> name(x,y).
std::string withoutId(const std::string& reference) {
    return reference.substr(0, reference.rfind('('));
}

bool isCell(const std::string& reference) {
    return reference.find('(') != reference.rfind('(');
}

void add(LogPoints& points, const LogPoint& point) {
    if (!points.empty() && points.back().time == point.time) {
        points.back() = point;
    } else {
        points.push_back(point);
    }
}

double milliseconds(const std::string& time) {
    int h = 0, m = 0, s = 0, ms = 0;
    std::sscanf(time.c_str(), "%d:%d:%d:%d", &h, &m, &s, &ms);
    return ((h * 60.0 + m) * 60.0 + s) * 1000.0 + ms;
}

}  // namespace

LogSeries LogSeries::read(const std::string& path) {
    LogSeries series;
    std::istringstream text(readFile(path));
    std::string line;
    while (std::getline(text, line)) {
        // msg X|Y / time / source / port / value to destination
        const std::vector<std::string> w = words(line);
        if (w.size() != 8 || w[0] != "msg" || (w[1] != "X" && w[1] != "Y") || w[6] != "to") {
            continue;
        }
        const LogPoint point{w[2], milliseconds(w[2]), w[5]};
        if (w[1] == "Y" && isCell(w[3])) {
            if (w[4] == "out") {
                add(series.outputs[withoutId(w[3])], point);
            }
        } else if (w[1] == "Y") {
            add(series.outputs[withoutId(w[3]) + "." + w[4]], point);
        } else if (!isCell(w[7])) {
            add(series.inputs[withoutId(w[7]) + "." + w[4]], point);
        }
    }
    return series;
}
