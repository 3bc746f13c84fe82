#include "shell/Log.h"

#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "shell/ConsoleChannel.h"
#include "shell/EngineVariables.h"
#include "shell/LogFile.h"
#include "shell/LogFormat.h"

namespace {

std::string g_path;  // resolved once; later directory changes do not move the log
unsigned long g_fileTextCount = 0;
bool g_held = false;
bool g_everyMessage = false;

// Lines still held when the process exits are written then, and any line logged after that (by a static
// destructor that runs later) goes to the file at once.
const int g_flushAtExit = std::atexit(+[] { logfile::writeThrough(); });

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
    resolvePath();
    return logfile::open(g_path);
}

// The two channel switches, kept equal to the engine variables by watching them: a change takes effect
// with the next message, without a lookup by name for every message (an import logs millions).
class Switches {
  public:
    // Set up with the first message; never freed, so logging stays safe during exit.
    static const Switches& get() { return s_instance != nullptr ? *s_instance : create(); }
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
    // Out of line: the set-up would otherwise weigh on every message's call.
    __attribute__((noinline)) static const Switches& create() {
        s_instance = new Switches();
        return *s_instance;
    }
    static inline Switches* s_instance = nullptr;
    bool m_file = false;
    bool m_console = false;
};

struct Channels {
    bool file;
    bool console;
    bool any() const { return file || console; }
};

Channels channels() {
    if (g_held) {
        return Channels{false, false};
    }
    const Switches& on = Switches::get();
    return Channels{on.file(), on.console() && consoleAvailable()};
}

void deliver(const std::string& text, Channels to) {
    if (to.file && openForAppend()) {
        logfile::appendLine(text.data(), text.size());
    }
    // The console does not depend on the file: a user who started the program where it cannot write
    // still sees every report.
    if (to.console) {
        consolePrint(text);
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
    logfile::truncate(g_path);
}

void setLogFilePath(const std::string& path) {
    logfile::close();  // what is held is written to the old file first
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
    va_list args;
    va_start(args, format);
    const bool formatted = formatLogText(buffer.text, format, args);
    va_end(args);
    if (formatted) {
        deliver(buffer.text, to);
    }
}

void logText(const std::string& text) {
    Channels to = channels();
    if (to.any()) {
        deliver(text, to);
    }
}

void logLines(const std::vector<std::string>& lines) {
    Channels to = channels();
    if (to.any()) {
        for (const std::string& line : lines) {
            deliver(line, to);
        }
    }
}

void logFileText(const std::string& text) {
    ++g_fileTextCount;
    Channels to = channels();
    to.console = false;
    if (to.any()) {
        deliver(text, to);
    }
}

unsigned long logFileTextCount() {
    return g_fileTextCount;
}

std::string logFilePath() {
    resolvePath();
    return g_path;
}

bool logWanted() {
    return channels().any();
}

void holdLogLines(bool held) {
    g_held = held;
}

void setLogEveryMessage(bool every) {
    g_everyMessage = every;
}

bool logEveryMessage() {
    return g_everyMessage;
}

void flushLog() {
    logfile::flush();
}

void flushLogFromSignal() {
    logfile::flushFromSignal();
}

namespace logdetail {
void forgetLogFile() {
    logfile::close();
    g_path.clear();
}
}  // namespace logdetail
