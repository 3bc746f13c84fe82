#pragma once

#include <cstdint>
#include <string>

#include "simdata/SDSeries.h"

class SDCELLDevsModel;
class SDEventList;
class SDTimeCursor;

// The history of one value of a run, read from what the time cursor has indexed rather than by replaying
// the log: each value's updates are chained from its last one back to its first, so a cell's history
// costs time in proportion to the messages that cell sent.
//
// Each fills `series` (label aside) and answers false when there is no such value to read.
class SDValueHistory {
  public:
    // What cell (x, y, z) of `model` sent on port "out", after a point at the start with its initial value
    // when it has one and sent nothing at or before the start.
    static bool cell(SDTimeCursor& cursor, const SDCELLDevsModel& model, unsigned x, unsigned y, unsigned z,
                     SDSeries& series);
    // What `model`, a model that is not a cell, sent on its output port `port`.
    static bool output(SDTimeCursor& cursor, const std::string& model, const std::string& port,
                       SDSeries& series);
    // What reached `model` on its input port `port`. External messages are not indexed (they change
    // nothing that is shown), so this one looks at every event once, comparing numbers only.
    static bool input(const SDEventList& events, const std::string& model, const std::string& port,
                      SDSeries& series);
    // The smallest, mean and largest value of `model`'s cells at every time of the run, initial values
    // counted, and at the start when a cell has one: one walk over the indexed updates.
    static bool spread(SDTimeCursor& cursor, const SDCELLDevsModel& model, SDSeries& series);

  private:
    // The chain of updates from `last` back, in time order, the last of each time kept.
    static void fromChain(const SDTimeCursor& cursor, uint32_t last, SDSeries& series);
};
