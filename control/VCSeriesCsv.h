#pragma once

#include <string>

struct SDSeries;

// A series as comma-separated values: the header "time,time_ms,value" ("time,time_ms,min,mean,max" for a
// spread), then one row per point in time order, the time as HH:MM:SS:MS and in milliseconds, values in
// the shortest form that reads back as the same double ("1e-07", "0.44444"). A spread's time at which no
// cell holds a value leaves its three fields empty.
class VCSeriesCsv {
  public:
    static std::string text(const SDSeries& series);
};
