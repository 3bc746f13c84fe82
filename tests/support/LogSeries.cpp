#include "tests/support/LogSeries.h"

#include <sstream>

#include "tests/support/TempDir.h"
#include "tests/tools/LogText.h"

namespace {

// name(id) -> "name"; name(x,y)(id) -> "name x y".
std::string key(const std::string& reference) {
    std::string name = reference.substr(0, reference.rfind('('));
    for (char& c : name) {
        c = c == '(' || c == ',' ? ' ' : c;
    }
    return name.back() == ')' ? name.substr(0, name.size() - 1) : name;
}

void add(LogPoints& points, const LogPoint& point) {
    if (!points.empty() && points.back().time == point.time) {
        points.pop_back();
    }
    points.push_back(point);
}

}  // namespace

LogSeries LogSeries::read(const std::string& path) {
    LogSeries series;
    std::istringstream text(readFile(path));
    for (std::string line; std::getline(text, line);) {
        // msg X|Y / time / source / port / value to destination
        const std::vector<std::string> w = fields(line);
        if (w.size() != 8 || w[0] != "msg" || (w[1] != "X" && w[1] != "Y") || w[6] != "to") {
            continue;
        }
        int h = 0, m = 0, s = 0, ms = 0;
        std::sscanf(w[2].c_str(), "%d:%d:%d:%d", &h, &m, &s, &ms);
        const LogPoint point{w[2], ((h * 60.0 + m) * 60.0 + s) * 1000.0 + ms, w[5]};
        const bool fromCell = key(w[3]).find(' ') != std::string::npos;
        if (w[1] == "Y" && (!fromCell || w[4] == "out")) {
            add(series.outputs[fromCell ? key(w[3]) : key(w[3]) + "." + w[4]], point);
        } else if (w[1] == "X" && key(w[7]).find(' ') == std::string::npos) {
            add(series.inputs[key(w[7]) + "." + w[4]], point);
        }
    }
    return series;
}
