#pragma once

#include <vector>

// Round numbers for the ends of a colour range and the ticks beside a colour bar: multiples of a step that
// is 1, 2, 2.5 or 5 times a power of ten.
class SDNiceNumbers {
  public:
    // `low` rounded down and `high` up to multiples of the largest such step not above a tenth of their
    // span, then kept within minimum .. maximum. Unchanged when high is not above low.
    static void roundOutwards(double& low, double& high, double minimum, double maximum);
    // On a log scale (both ends above 0): `low` rounded down and `high` up to 1, 2 or 5 times a power of
    // ten, then kept within minimum .. maximum.
    static void roundOutwardsLog(double& low, double& high, double minimum, double maximum);
    // The multiples of one step within low .. high, ascending: 5 to 7 of them where a step gives that
    // many, else the count nearest to it (the fewer on a tie). Empty when high is not above low.
    static std::vector<double> ticks(double low, double high);
    // On a log scale (0 < low < high): powers of ten, or 1 and 3, 1, 2 and 5, or 1 to 9 times them, the
    // first that gives 5 to 7 (else the nearest count); the linear ticks when the range is too narrow to
    // hold even two.
    static std::vector<double> logTicks(double low, double high);
};
