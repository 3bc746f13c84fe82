#include "shell/LogFile.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

static_assert(std::atomic<size_t>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "a signal handler may only touch lock-free atomics");

char g_held[logfile::kHeldLimit];
// g_held[g_written, g_complete) are whole lines not yet in the file. A line is copied in past g_complete
// first and only then published by moving g_complete, so a signal that arrives during the copy sees none
// of it. A signal handler writes up to g_complete and moves g_written, so that nothing goes out twice if
// the process lives on.
std::atomic<size_t> g_complete{0};
std::atomic<size_t> g_written{0};
std::atomic<int> g_fd{-1};
bool g_writeThrough = false;

// Keeps the signals that flush the log away from this thread while the file and the offsets change
// together: a handler running in between would write the same lines a second time. The program's own
// code runs on one thread, and the GL driver's threads block every signal.
class FlushSignalsBlocked {
  public:
    FlushSignalsBlocked() {
        sigset_t set;
        sigemptyset(&set);
        for (int signal : {SIGINT, SIGTERM, SIGSEGV, SIGABRT, SIGBUS}) {
            sigaddset(&set, signal);
        }
        pthread_sigmask(SIG_BLOCK, &set, &m_previous);
    }
    ~FlushSignalsBlocked() { pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    FlushSignalsBlocked(const FlushSignalsBlocked&) = delete;
    FlushSignalsBlocked& operator=(const FlushSignalsBlocked&) = delete;

  private:
    sigset_t m_previous;
};

// Async-signal-safe. False when the file went bad (disk full, removed device).
bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Only with the signals blocked. The file is closed so that the next line opens it again.
void closeFile() {
    const int fd = g_fd.exchange(-1);
    if (fd >= 0) {
        ::close(fd);
    }
}

// Only with the signals blocked. A file that fails loses what was held for it.
void writeHeld() {
    const size_t start = g_written.load();
    const size_t end = g_complete.load();
    const int fd = g_fd.load();
    if (fd >= 0 && start < end && !writeAll(fd, g_held + start, end - start)) {
        closeFile();
    }
    g_complete.store(0);
    g_written.store(0);
}

}  // namespace

namespace logfile {

bool open(const std::string& path) {
    if (g_fd.load(std::memory_order_relaxed) >= 0) {
        return true;
    }
    g_fd.store(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
    return g_fd.load() >= 0;
}

void truncate(const std::string& path) {
    {
        FlushSignalsBlocked blocked;
        g_complete.store(0);
        g_written.store(0);
        closeFile();
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        ::close(fd);
    }
}

void close() {
    FlushSignalsBlocked blocked;
    writeHeld();
    closeFile();
}

void appendLine(const char* text, size_t size) {
    if (g_fd.load(std::memory_order_relaxed) < 0) {
        return;
    }
    const size_t lineSize = size + 1;
    size_t used = g_complete.load(std::memory_order_relaxed);
    if (!g_writeThrough && lineSize <= kHeldLimit - used) {
        std::memcpy(g_held + used, text, size);
        g_held[used + size] = '\n';
        g_complete.store(used + lineSize, std::memory_order_release);
        return;
    }
    FlushSignalsBlocked blocked;
    writeHeld();
    if (g_fd.load() < 0) {
        return;
    }
    if (g_writeThrough || lineSize > kHeldLimit) {
        // Written whole before any signal handler can run, so that no handler writes lines into its middle.
        const char newline = '\n';
        if (!writeAll(g_fd.load(), text, size) || !writeAll(g_fd.load(), &newline, 1)) {
            closeFile();
        }
        return;
    }
    std::memcpy(g_held, text, size);
    g_held[size] = '\n';
    g_complete.store(lineSize, std::memory_order_release);
}

void flush() {
    if (g_complete.load(std::memory_order_relaxed) == 0) {
        return;
    }
    FlushSignalsBlocked blocked;
    writeHeld();
}

void flushFromSignal() {
    const int savedErrno = errno;
    const size_t end = g_complete.load(std::memory_order_acquire);
    const size_t start = g_written.load();
    const int fd = g_fd.load();
    if (fd >= 0 && start < end) {
        writeAll(fd, g_held + start, end - start);
        g_written.store(end);
    }
    errno = savedErrno;
}

size_t held() {
    return g_complete.load() - g_written.load();
}

void writeThrough() {
    FlushSignalsBlocked blocked;
    writeHeld();
    g_writeThrough = true;
}

}  // namespace logfile
