#pragma once

#include <string>

// A point in simulated time, kept as one count of milliseconds since the start of the run. The
// hours:minutes:seconds:milliseconds form exists only as text and as a four-integer view.
class SDTime {
  public:
    SDTime() = default;
    explicit SDTime(double milliseconds) : m_milliseconds(milliseconds) {}
    SDTime(const SDTime&) = default;
    SDTime& operator=(const SDTime&) = default;
    virtual ~SDTime();

    void setMilliseconds(double milliseconds) { m_milliseconds = milliseconds; }
    double getMilliseconds() const { return m_milliseconds; }

    // Components outside their usual ranges are accepted as they are (90 minutes is 5,400,000 ms). The
    // sum is formed in 64 bits, so no combination of ints overflows.
    void setTime(int hours, int minutes, int seconds, int milliseconds);

    // Reads the log-file form "h:m:s:ms" (decimal integers, optionally signed). Components the text does
    // not supply count as 0; a number too large for an int saturates.
    void parse(const std::string& text);

    // Hours are not reduced modulo 24 and are taken with floor, so -1,000 ms is (-1, 59, 59, 0). A time
    // beyond the int range of hours saturates at the first or last representable time; NaN reads as 0.
    void getComponents(int& hours, int& minutes, int& seconds, int& milliseconds) const;

    // The display form "hh:mm:ss:mmm" (wider values print in full).
    std::string toString() const;

    bool operator<(const SDTime& other) const { return m_milliseconds < other.m_milliseconds; }

  private:
    double m_milliseconds = 0.0;
};
