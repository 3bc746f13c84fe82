#pragma once

#include <cstddef>
#include <string>

// A line of progress on a terminal, rewritten in place (carriage return) as the work goes on and ended with
// a line feed when it ends. On anything but a terminal it writes nothing: a file would fill with lines.
class TerminalProgress {
  public:
    // Standard error, when it is a terminal.
    TerminalProgress();
    // Writes to `fd` when `terminal` is true.
    TerminalProgress(int fd, bool terminal);

    // Shows `text` in place of what the line showed.
    void show(const std::string& text);
    // Shows `text` and ends the line, if the line was shown at all; the next show starts a new one.
    void finish(const std::string& text);
    bool shown() const { return m_shown; }

  private:
    void write(const std::string& bytes);

    int m_fd;
    bool m_terminal;
    bool m_shown = false;
    size_t m_length = 0;  // of the text shown last
};
