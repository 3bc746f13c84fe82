#pragma once

#include <ostream>

// Writes printf-formatted lines to a stream, each ended by '\n', and counts them: the log generators' one
// way of writing. A line is cut at 511 characters, far beyond any that they write, never overrun.
class LogLineWriter {
  public:
    explicit LogLineWriter(std::ostream& out) : m_out(out) {}

    void line(const char* format, ...) __attribute__((format(printf, 2, 3)));
    long long count() const { return m_count; }
    void resetCount() { m_count = 0; }
    // True while every write so far succeeded; flushes first.
    bool good();

  private:
    std::ostream& m_out;
    long long m_count = 0;
};
