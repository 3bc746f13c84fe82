#include "shell/Log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "shell/ConsoleChannel.h"
#include "shell/EngineVariables.h"

namespace {

std::string g_path;  // resolved once; later directory changes do not move the log
int g_fd = -1;       // kept open between messages; every message is written with one write()

void resolvePath() {
    if (!g_path.empty()) {
        return;
    }
    // getcwd with a null buffer allocates a buffer of the needed size: no limit on the path's length.
    char* cwd = ::getcwd(nullptr, 0);
    if (cwd == nullptr) {
        g_path = "log.txt";
        return;
    }
    g_path = cwd;
    std::free(cwd);
    if (g_path.empty() || g_path.back() != '/') {
        g_path += '/';
    }
    g_path += "log.txt";
}

bool openForAppend() {
    if (g_fd >= 0) {
        return true;
    }
    resolvePath();
    g_fd = ::open(g_path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    return g_fd >= 0;
}

void writeAll(const char* data, size_t size) {
    while (size > 0) {
        ssize_t written = ::write(g_fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            // The file went bad (disk full, removed device): drop this message and reopen for the next.
            ::close(g_fd);
            g_fd = -1;
            return;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
}

// The two channel switches, kept equal to the engine variables by watching them: a change takes effect
// with the next message, without a lookup by name for every message (an import logs millions).
class Switches {
  public:
    static Switches& get() {
        static Switches* instance = new Switches();  // never freed: logging stays safe during exit
        return *instance;
    }
    bool file() const { return m_file; }
    bool console() const { return m_console; }
    void changed(std::string name, std::string value) {
        bool on = value == "true";  // a removed variable reports an empty value: off
        if (name == "file_logging") {
            m_file = on;
        } else {
            m_console = on;
        }
    }

  private:
    Switches() {
        EngineVariables* vars = getEngineVariables();
        vars->getBool("file_logging", m_file);
        vars->getBool("console_logging", m_console);
        vars->addWatcher("file_logging", this, &Switches::changed);
        vars->addWatcher("console_logging", this, &Switches::changed);
    }
    bool m_file = false;
    bool m_console = false;
};

struct Channels {
    bool file;
    bool console;
    bool any() const { return file || console; }
};

Channels channels() {
    const Switches& on = Switches::get();
    return Channels{on.file(), on.console() && consoleAvailable()};
}

// `line` holds the message followed by one '\n'.
void deliver(std::string& line, Channels to) {
    if (to.file && openForAppend()) {
        writeAll(line.data(), line.size());
    }
    // The console does not depend on the file: a user who started the program where it cannot write
    // still sees every report.
    if (to.console) {
        line.pop_back();
        consolePrint(line);
        line.push_back('\n');
    }
}

// A formatting buffer that is reused from message to message, so a message costs no allocation once the
// buffer has grown. A message logged while another is being delivered (from inside the console, say) gets
// a buffer of its own. The buffers are never freed, so a message logged during static destruction is safe.
class Buffer {
  public:
    Buffer() : text(s_depth < kReused ? reused()[s_depth] : m_own) { ++s_depth; }
    ~Buffer() { --s_depth; }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

  private:
    static constexpr int kReused = 4;
    static std::string* reused() {
        static std::string* buffers = new std::string[kReused];
        return buffers;
    }
    static inline int s_depth = 0;
    std::string m_own;

  public:
    std::string& text;
};

}  // namespace

void resetLog() {
    resolvePath();
    if (g_fd >= 0) {
        ::close(g_fd);
        g_fd = -1;
    }
    int fd = ::open(g_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        ::close(fd);
    }
}

void setLogFilePath(const std::string& path) {
    if (g_fd >= 0) {
        ::close(g_fd);
        g_fd = -1;
    }
    g_path.clear();
    if (!path.empty() && path.front() == '/') {
        g_path = path;
        return;
    }
    resolvePath();  // <current folder>/log.txt, or log.txt alone when the folder cannot be told
    g_path.replace(g_path.rfind('/') + 1, std::string::npos, path);
}

void logMessage(const char* format, ...) {
    Channels to = channels();
    if (format == nullptr || !to.any()) {
        return;
    }
    Buffer buffer;
    std::string& line = buffer.text;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    line.resize(line.capacity() > 256 ? line.capacity() : 256);
    int needed = std::vsnprintf(line.data(), line.size() + 1, format, args);
    va_end(args);
    if (needed < 0) {
        va_end(again);
        return;
    }
    if (static_cast<size_t>(needed) > line.size()) {
        line.resize(static_cast<size_t>(needed));
        std::vsnprintf(line.data(), line.size() + 1, format, again);
    }
    va_end(again);
    line.resize(static_cast<size_t>(needed));
    line.push_back('\n');
    deliver(line, to);
}

void logText(const std::string& text) {
    Channels to = channels();
    if (!to.any()) {
        return;
    }
    Buffer buffer;
    std::string& line = buffer.text;
    line.assign(text);
    line.push_back('\n');
    deliver(line, to);
}

std::string logFilePath() {
    resolvePath();
    return g_path;
}

namespace logdetail {
void forgetLogFile() {
    if (g_fd >= 0) {
        ::close(g_fd);
        g_fd = -1;
    }
    g_path.clear();
}
}  // namespace logdetail
