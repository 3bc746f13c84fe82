#include "control/VCSeriesCsv.h"

#include <cmath>
#include <cstdio>

#include "simdata/SDSeries.h"
#include "simdata/SDTime.h"

namespace {

std::string number(const char* format, double value) {
    char text[512];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Log times are whole milliseconds; a fraction, should one come, is kept.
std::string milliseconds(double time) {
    return number(time == std::floor(time) ? "%.0f" : "%.3f", time);
}

}  // namespace

std::string VCSeriesCsv::text(const SDSeries& series) {
    std::string out = series.spread ? "time,time_ms,min,mean,max\n" : "time,time_ms,value\n";
    for (size_t i = 0; i < series.size(); ++i) {
        out += SDTime(series.times[i]).toString() + "," + milliseconds(series.times[i]);
        if (!series.spread) {
            out += "," + number("%.6f", series.values[i]);
        } else if (std::isnan(series.values[i])) {
            out += ",,,";
        } else {
            out += "," + number("%.6f", series.minimum[i]) + "," + number("%.6f", series.values[i]) + "," +
                   number("%.6f", series.maximum[i]);
        }
        out += "\n";
    }
    return out;
}
