#include "control/VCSeriesCsv.h"

#include <charconv>
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

// The shortest text that reads back as the same double: 1e-07 stays 1e-07, 0.44444 gets no trailing zeros.
std::string value(double number) {
    char text[64];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, number);
    return std::string(text, written.ptr);
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
            out += "," + value(series.values[i]);
        } else if (std::isnan(series.values[i])) {
            out += ",,,";
        } else {
            out += "," + value(series.minimum[i]) + "," + value(series.values[i]) + "," +
                   value(series.maximum[i]);
        }
        out += "\n";
    }
    return out;
}
