#pragma once

#include <string>
#include <vector>

#include "tests/support/TempDir.h"

// One run of the real program that ends by itself (--help, a mistake, --snapshot), in a fresh working
// directory. With a display it uses the one the test command provides (DISPLAY); without, DISPLAY is
// removed, as on a machine with no X server.
class ProgramRun {
  public:
    enum class Display { Inherit, None };

    ProgramRun(std::vector<std::string> arguments, Display display = Display::Inherit);

    // The exit status, or -1 when the program was ended by a signal or did not end within a minute.
    int status() const { return m_status; }
    std::string out() const;
    std::string err() const;
    const std::string& dir() const { return m_dir.path(); }
    std::string file(const std::string& name) const { return m_dir.file(name); }
    bool exists(const std::string& name) const;

    // Whether the test command provides a display for runs that draw.
    static bool displayAvailable();

  private:
    TempDir m_dir;
    int m_status = -1;
};
