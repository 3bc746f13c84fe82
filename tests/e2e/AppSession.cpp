#include "tests/e2e/AppSession.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

namespace {

using Clock = std::chrono::steady_clock;

void pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool before(Clock::time_point deadline) {
    return Clock::now() < deadline;
}

Clock::time_point after(double seconds) {
    return Clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
}

// Reads a binary PPM (P6) image.
Image parsePpm(const std::string& data) {
    Image image;
    std::istringstream in(data);
    std::string magic;
    int maxValue = 0;
    in >> magic >> image.width >> image.height >> maxValue;
    if (magic != "P6" || maxValue != 255 || !in) {
        return Image{};
    }
    in.get();
    size_t size = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3;
    image.rgb.resize(size);
    in.read(reinterpret_cast<char*>(image.rgb.data()), static_cast<std::streamsize>(size));
    if (static_cast<size_t>(in.gcount()) != size) {
        return Image{};
    }
    return image;
}

}  // namespace

Image::Pixel Image::at(int x, int y) const {
    size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return Pixel{rgb[i], rgb[i + 1], rgb[i + 2]};
}

int Image::count(int x0, int y0, int x1, int y1, const std::function<bool(Pixel)>& match) const {
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y) {
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x) {
            n += match(at(x, y)) ? 1 : 0;
        }
    }
    return n;
}

int Image::differences(const Image& other, int x0, int y0, int x1, int y1) const {
    const int width = std::min(this->width, other.width);
    const int height = std::min(this->height, other.height);
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y) {
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x) {
            const Pixel p = at(x, y);
            const Pixel q = other.at(x, y);
            n += p.r != q.r || p.g != q.g || p.b != q.b ? 1 : 0;
        }
    }
    return n;
}

std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

AppSession::AppSession(std::vector<std::string> arguments, ErrorOutput errorOutput)
    : m_arguments(std::move(arguments)), m_errorOutput(errorOutput) {
    startDisplay();
    if (m_display.empty()) {
        return;
    }
    startProgram();
    auto deadline = after(60);
    while (before(deadline) && running()) {
        // Only once mapped: pointer moves over an unmapped window reach nobody.
        std::string id = x("xdotool search --onlyvisible --name '^Tessaron$' 2>/dev/null");
        if (!id.empty()) {
            m_windowId = id.substr(0, id.find('\n'));
            break;
        }
        pause(100);
    }
    if (!m_windowId.empty() && !waitForLogLine("Startup successful...", 60)) {
        m_windowId.clear();
    }
    if (!m_windowId.empty()) {
        // Without a window manager the window opens at (-1, -1); a screenshot would lose its edges.
        x("xdotool windowmove --sync " + m_windowId + " 0 0 2>/dev/null");
        readWindowSize();
        moveMouse(m_windowWidth - 10, m_windowHeight - 10);
        x("xdotool windowfocus --sync " + m_windowId + " 2>/dev/null");
        // The first frame is on screen before any test looks.
        if (!sync()) {
            m_windowId.clear();
        }
    }
}

AppSession::~AppSession() {
    if (m_app > 0 && m_exitStatus == -2) {
        ::kill(m_app, SIGKILL);
        ::waitpid(m_app, nullptr, 0);
    }
    if (m_xvfb > 0) {
        ::kill(m_xvfb, SIGTERM);
        ::waitpid(m_xvfb, nullptr, 0);
    }
    // The program is gone, and with it the terminal's other side: the reader sees the end.
    if (m_terminalReader.joinable()) {
        m_terminalReader.join();
    }
    if (m_terminal >= 0) {
        ::close(m_terminal);
    }
}

void AppSession::startDisplay() {
    int fds[2];
    if (::pipe(fds) != 0) {
        return;
    }
    m_xvfb = ::fork();
    if (m_xvfb == 0) {
        ::close(fds[0]);
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                 "-noreset", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string number;
    char c = 0;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    ::close(fds[0]);
    if (!number.empty()) {
        m_display = ":" + number;
    }
}

void AppSession::startProgram() {
    std::string terminalName;
    if (m_errorOutput == ErrorOutput::Terminal) {
        m_terminal = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_terminal >= 0 && ::grantpt(m_terminal) == 0 && ::unlockpt(m_terminal) == 0) {
            terminalName = ::ptsname(m_terminal);
        }
    }
    m_app = ::fork();
    if (m_app == 0) {
        if (::chdir(m_dir.path().c_str()) != 0) {
            ::_exit(127);
        }
        ::setenv("DISPLAY", m_display.c_str(), 1);
        ::setenv("TESSARON_SYNC_FILE", m_dir.file("sync.txt").c_str(), 1);
        int out = ::open("program.out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = -1;
        if (!terminalName.empty()) {
            err = ::open(terminalName.c_str(), O_RDWR | O_NOCTTY);
            // Bytes as written: no line feed turned into carriage return and line feed.
            termios mode;
            if (err >= 0 && ::tcgetattr(err, &mode) == 0) {
                ::cfmakeraw(&mode);
                ::tcsetattr(err, TCSANOW, &mode);
            }
        } else {
            err = ::open("program.err", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        }
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char*> argv{const_cast<char*>(TESS_PROGRAM)};
        for (std::string& argument : m_arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        ::execv(TESS_PROGRAM, argv.data());
        ::_exit(127);
    }
    if (!terminalName.empty()) {
        const std::string path = m_dir.file("program.err");
        const int terminal = m_terminal;
        m_terminalReader = std::thread([terminal, path] {
            const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            char buffer[4096];
            ssize_t n = 0;
            // Ends when the last program holding the terminal has gone (EIO).
            while ((n = ::read(terminal, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
                if (n > 0 && ::write(file, buffer, static_cast<size_t>(n)) != n) {
                    break;
                }
            }
            ::close(file);
        });
    }
}

std::string AppSession::x(const std::string& command, int* status) const {
    std::string full = "DISPLAY=" + m_display + " " + command;
    FILE* pipe = ::popen(full.c_str(), "r");
    if (pipe == nullptr) {
        return "";
    }
    std::string output;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, n);
    }
    int result = ::pclose(pipe);
    if (status != nullptr) {
        *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    }
    return output;
}

void AppSession::type(const std::string& text) {
    x("xdotool type --delay 4 -- " + shellQuote(text) + " 2>/dev/null");
}

void AppSession::key(const std::string& keyName) {
    x("xdotool key -- " + shellQuote(keyName) + " 2>/dev/null");
}

void AppSession::command(const std::string& line) {
    type(line);
    key("Return");
}

void AppSession::moveMouse(int px, int py) {
    m_pointerX = px;
    m_pointerY = py;
    x("xdotool mousemove --window " + m_windowId + " " + std::to_string(px) + " " + std::to_string(py) +
      " 2>/dev/null");
}

void AppSession::click(int px, int py, int button) {
    moveMouse(px, py);
    x("xdotool click " + std::to_string(button) + " 2>/dev/null");
}

void AppSession::shiftClick(int px, int py) {
    moveMouse(px, py);
    x("xdotool keydown shift click 1 keyup shift 2>/dev/null");
}

void AppSession::drag(int fromX, int fromY, int toX, int toY, int button) {
    moveMouse(fromX, fromY);
    x("xdotool mousedown " + std::to_string(button) + " 2>/dev/null");
    const int steps = 5;
    for (int i = 1; i <= steps; ++i) {
        moveMouse(fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps);
        pause(30);
    }
    x("xdotool mouseup " + std::to_string(button) + " 2>/dev/null");
}

void AppSession::resizeWindow(int width, int height) {
    x("xdotool windowsize --sync " + m_windowId + " " + std::to_string(width) + " " + std::to_string(height) +
      " 2>/dev/null");
    readWindowSize();
}

void AppSession::readWindowSize() {
    // Lines such as "WIDTH=800" and "HEIGHT=600"; the sizes stay as they were when none can be read.
    std::istringstream in(x("xdotool getwindowgeometry --shell " + m_windowId + " 2>/dev/null"));
    std::string line;
    while (std::getline(in, line)) {
        int* size = line.rfind("WIDTH=", 0) == 0    ? &m_windowWidth
                    : line.rfind("HEIGHT=", 0) == 0 ? &m_windowHeight
                                                    : nullptr;
        const int value = size != nullptr ? std::atoi(line.c_str() + line.find('=') + 1) : 0;
        if (value > 0) {
            *size = value;
        }
    }
}

Image AppSession::screenshot(const std::string& savePng) {
    if (!savePng.empty()) {
        x("import -window " + m_windowId + " " + shellQuote(savePng) + " 2>/dev/null");
    }
    return parsePpm(x("import -window " + m_windowId + " -depth 8 ppm:- 2>/dev/null"));
}

bool AppSession::syncAnswered(const std::string& line) {
    const std::string all = readFile(m_dir.file("sync.txt"));
    if (all.size() <= m_syncRead) {
        return false;
    }
    // Only whole lines are read; an answer is found in what arrived since the last sync.
    const size_t end = all.rfind('\n');
    if (end == std::string::npos || end < m_syncRead) {
        return false;
    }
    std::istringstream in(all.substr(m_syncRead, end + 1 - m_syncRead));
    m_syncRead = end + 1;
    std::string got;
    bool found = false;
    while (std::getline(in, got)) {
        found = found || got == line;
    }
    return found;
}

bool AppSession::sync(double seconds) {
    if (m_windowId.empty() && m_app <= 0) {
        return false;
    }
    // A spot no widget reacts to, different from where the pointer is, so that the move is an event.
    int sx = 1 + m_syncCount++ % 3;
    const int sy = m_windowHeight - 2;
    if (sx == m_pointerX && sy == m_pointerY) {
        sx = 1 + m_syncCount++ % 3;
    }
    const std::string expected = "sync " + std::to_string(sx) + " " + std::to_string(sy);
    moveMouse(sx, sy);
    const auto deadline = after(seconds);
    bool answered = false;
    while (!(answered = syncAnswered(expected)) && running() && before(deadline)) {
        pause(20);
    }
    if (!answered) {
        ADD_FAILURE() << "The program did not answer a pointer move to (" << sx << ", " << sy << ") within "
                      << seconds << " s" << (running() ? "" : "; it is no longer running") << "\n"
                      << errors();
    }
    return answered;
}

Image AppSession::settledScreenshot(const std::string& savePng) {
    if (!sync()) {
        return Image{};
    }
    return screenshot(savePng);
}

std::string AppSession::log() const {
    return readFile(m_dir.file("log.txt"));
}

std::vector<std::string> AppSession::logLines() const {
    std::vector<std::string> lines;
    std::istringstream in(log());
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

bool AppSession::waitForLogLine(const std::string& line, double seconds, int times) {
    auto deadline = after(seconds);
    do {
        int found = 0;
        for (const std::string& l : logLines()) {
            found += l == line ? 1 : 0;
        }
        if (found >= times) {
            return true;
        }
        pause(50);
    } while (before(deadline));
    return false;
}

bool AppSession::waitForLogText(const std::string& text, double seconds) {
    auto deadline = after(seconds);
    do {
        if (log().find(text) != std::string::npos) {
            return true;
        }
        pause(50);
    } while (before(deadline));
    return false;
}

bool AppSession::running() {
    if (m_app <= 0 || m_exitStatus != -2) {
        return false;
    }
    int status = 0;
    pid_t done = ::waitpid(m_app, &status, WNOHANG);
    if (done == m_app) {
        m_exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return false;
    }
    return true;
}

int AppSession::waitForExit(double seconds) {
    auto deadline = after(seconds);
    while (running() && before(deadline)) {
        pause(50);
    }
    return m_exitStatus == -2 ? -1 : m_exitStatus;
}

void AppSession::signal(int number) {
    if (running()) {
        ::kill(m_app, number);
    }
}

std::string AppSession::errors() const {
    return readFile(m_dir.file("program.err"));
}
