#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TempDir.h"

// An RGB picture read back from a screenshot. (x, y) counts from the top-left corner, as on screen.
struct Image {
    struct Pixel {
        uint8_t r = 0, g = 0, b = 0;
    };
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    bool valid() const { return width > 0 && height > 0; }
    Pixel at(int x, int y) const;
    // How many pixels of the rectangle [x0, x1) x [y0, y1) satisfy `match`.
    int count(int x0, int y0, int x1, int y1, const std::function<bool(Pixel)>& match) const;
    // How many pixels of the rectangle differ from those of `other` (only where both pictures have one).
    int differences(const Image& other, int x0, int y0, int x1, int y1) const;
};

// The real program, started in a fresh working directory on a private virtual X display and driven the way
// a user drives it: keys typed and the pointer moved with xdotool, screenshots taken of its window.
class AppSession {
  public:
    // Where the program's standard error goes: a file, or a pseudo-terminal as when a user starts it from a
    // shell (what it writes there is collected all the same). errors() reads it either way.
    enum class ErrorOutput { File, Terminal };

    // Starts the display and the program (with these command-line arguments), then waits until its window
    // exists and start-up has finished.
    explicit AppSession(std::vector<std::string> arguments = {}, ErrorOutput errorOutput = ErrorOutput::File);
    ~AppSession();
    AppSession(const AppSession&) = delete;
    AppSession& operator=(const AppSession&) = delete;

    bool started() const { return !m_windowId.empty(); }
    const std::string& workDir() const { return m_dir.path(); }
    const std::string& windowId() const { return m_windowId; }

    // Keyboard: text typed character by character; a key by its X name ("Return", "grave", "Escape", "Tab").
    void type(const std::string& text);
    void key(const std::string& keyName);
    // Types a console line and presses Enter.
    void command(const std::string& line);

    // Pointer, in window coordinates from the top-left corner; button 1 left, 2 middle, 3 right.
    void moveMouse(int x, int y);
    void click(int x, int y, int button = 1);
    // A left click with Shift held.
    void shiftClick(int x, int y);
    void drag(int fromX, int fromY, int toX, int toY, int button = 1);
    void resizeWindow(int width, int height);

    // Waits until the program has handled every input sent so far and the frame they asked for is on
    // screen: moves the pointer to a spot that reacts to nothing (near the bottom-left corner) and waits for
    // the program to answer that move. Records a test failure and returns false when no answer comes.
    bool sync(double seconds = 120);

    // The window's picture as it is now; also saved as a PNG when a path is given.
    Image screenshot(const std::string& savePng = "");
    // The picture once every input sent so far has been handled and drawn (sync, then screenshot); an
    // invalid image when the program does not answer.
    Image settledScreenshot(const std::string& savePng = "");

    // log.txt of the program's working directory.
    std::string log() const;
    std::vector<std::string> logLines() const;
    // Waits until log.txt holds `line` as a whole line at least `times` times.
    bool waitForLogLine(const std::string& line, double seconds = 20, int times = 1);
    // Waits until log.txt contains `text` anywhere.
    bool waitForLogText(const std::string& text, double seconds = 20);

    // Waits for the program to end; returns its exit status, or -1 when it is still running after `seconds`
    // (or was ended by a signal).
    int waitForExit(double seconds = 30);
    bool running();
    // Sends the program a signal, as Ctrl+C on its terminal sends SIGINT.
    void signal(int number);
    // What the program wrote to standard error (sanitizer reports land here).
    std::string errors() const;

    // Runs a command with this session's display; returns its standard output.
    std::string x(const std::string& command, int* status = nullptr) const;

  private:
    void startDisplay();
    void startProgram();

    TempDir m_dir;
    std::vector<std::string> m_arguments;
    ErrorOutput m_errorOutput;
    int m_terminal = -1;  // the pseudo-terminal's controlling side, read into program.err
    std::thread m_terminalReader;
    pid_t m_xvfb = -1;
    pid_t m_app = -1;
    int m_exitStatus = -2;
    bool syncAnswered(const std::string& line);

    std::string m_display;
    std::string m_windowId;
    // The window's size as the X server has it, read once it is up and after each resize: sync() moves the
    // pointer near its bottom edge.
    void readWindowSize();
    int m_windowWidth = 800;
    int m_windowHeight = 600;
    int m_pointerX = -1;
    int m_pointerY = -1;
    int m_syncCount = 0;
    size_t m_syncRead = 0;  // bytes of the sync file already looked at
};

// Quotes a text for the shell.
std::string shellQuote(const std::string& text);
