#include "shell/LogFile.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace {

static_assert(std::atomic<size_t>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "a signal handler may only touch lock-free atomics");

// Lines wait in one of two buffers. The program fills one; a full one goes to a thread of the log's own
// that writes it while the next fills: copying a long import's log into the file (221 MB for a life run
// of 1.25 M lines) took over a quarter of the import's time on the program's thread.
//
// data[written, complete) are whole lines not yet in the file. A line is copied in past `complete` first
// and only then published by moving `complete`, so a signal that arrives during the copy sees none of it.
struct Held {
    char data[logfile::kHeldLimit];
    std::atomic<size_t> complete{0};
    std::atomic<size_t> written{0};
};
Held g_held[2];
int g_filling = 0;                  // the buffer appended to; changed by the program's thread only
std::atomic<int> g_handed{-1};      // the buffer the writer has, or -1 when it is idle
std::atomic<bool> g_failed{false};  // a write failed: the file is closed at the next chance
std::atomic<int> g_fd{-1};
bool g_writeThrough = false;

// Never destroyed: the writer may still wait on them while the process exits.
struct WriterSync {
    std::mutex mutex;
    std::condition_variable handed;
    std::condition_variable idle;
};
WriterSync* g_sync = nullptr;
pid_t g_writerProcess = 0;  // a forked child has no writer thread of its own until it starts one

// Keeps the signals that flush the log away from this thread while the file and the offsets change
// together: a handler running in between would write the same lines a second time. The program's own
// code runs on one thread, and the GL driver's threads and the writer block every signal.
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

// Async-signal-safe. Writes what `held` has not written yet; after a failed write nothing more is written
// until the file is opened again.
void writeOut(Held& held) {
    const size_t start = held.written.load();
    const size_t end = held.complete.load(std::memory_order_acquire);
    const int fd = g_fd.load();
    if (fd >= 0 && start < end && !g_failed.load() && !writeAll(fd, held.data + start, end - start)) {
        g_failed.store(true);
    }
    held.written.store(end);
}

void writerLoop() {
    pthread_setname_np(pthread_self(), "log-writer");  // as profilers and debuggers show it
    WriterSync& sync = *g_sync;
    std::unique_lock<std::mutex> lock(sync.mutex);
    while (true) {
        sync.handed.wait(lock, [] { return g_handed.load() >= 0; });
        Held& held = g_held[g_handed.load()];
        lock.unlock();
        writeOut(held);
        held.complete.store(0);
        held.written.store(0);
        lock.lock();
        g_handed.store(-1);
        sync.idle.notify_all();
    }
}

// Program thread only, with the signals blocked. Waits until the writer has written what it was handed.
void waitForWriter() {
    if (g_handed.load() < 0) {
        return;
    }
    std::unique_lock<std::mutex> lock(g_sync->mutex);
    g_sync->idle.wait(lock, [] { return g_handed.load() < 0; });
}

// Program thread only, with the signals blocked. The file is closed so that the next line opens it again.
void closeFile() {
    waitForWriter();
    g_failed.store(false);
    const int fd = g_fd.exchange(-1);
    if (fd >= 0) {
        ::close(fd);
    }
}

// Program thread only, with the signals blocked. Starts this process's writer thread once, with every
// signal blocked in it.
void startWriter() {
    if (g_writerProcess == ::getpid()) {
        return;
    }
    if (g_sync == nullptr) {
        g_sync = new WriterSync();
    }
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    std::thread(writerLoop).detach();
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    g_writerProcess = ::getpid();
}

// Program thread only, with the signals blocked. Gives the full buffer to the writer, once it has written
// the previous one, and fills the other one from now on.
void handOverFull() {
    startWriter();
    waitForWriter();
    std::lock_guard<std::mutex> lock(g_sync->mutex);
    g_handed.store(g_filling);
    g_filling = 1 - g_filling;
    g_sync->handed.notify_one();
}

// Program thread only, with the signals blocked. Writes every held line, in order, before returning:
// waiting for the writer costs what writing the buffer ourselves would. A failed file is closed, losing
// what was held for it.
void writeAllHeld() {
    waitForWriter();
    Held& filling = g_held[g_filling];
    writeOut(filling);
    filling.complete.store(0);
    filling.written.store(0);
    if (g_failed.load()) {
        closeFile();
    }
}

// Program thread only, with the signals blocked: drops every held line.
void dropHeld() {
    waitForWriter();
    Held& filling = g_held[g_filling];
    filling.complete.store(0);
    filling.written.store(0);
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
        dropHeld();
        closeFile();
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        ::close(fd);
    }
}

void close() {
    FlushSignalsBlocked blocked;
    writeAllHeld();
    closeFile();
}

void appendLine(const char* text, size_t size) {
    if (g_fd.load(std::memory_order_relaxed) < 0) {
        return;
    }
    const size_t lineSize = size + 1;
    Held* held = &g_held[g_filling];
    size_t used = held->complete.load(std::memory_order_relaxed);
    if (!g_writeThrough && lineSize <= kHeldLimit - used) {
        std::memcpy(held->data + used, text, size);
        held->data[used + size] = '\n';
        held->complete.store(used + lineSize, std::memory_order_release);
        return;
    }
    FlushSignalsBlocked blocked;
    if (g_writeThrough || lineSize > kHeldLimit) {
        writeAllHeld();
        if (g_fd.load() < 0) {
            return;
        }
        // Written whole before any signal handler can run, so that no handler writes lines into its middle.
        const char newline = '\n';
        if (!writeAll(g_fd.load(), text, size) || !writeAll(g_fd.load(), &newline, 1)) {
            closeFile();
        }
        return;
    }
    handOverFull();
    if (g_failed.load()) {
        waitForWriter();
        closeFile();
        return;
    }
    held = &g_held[g_filling];
    std::memcpy(held->data, text, size);
    held->data[size] = '\n';
    held->complete.store(lineSize, std::memory_order_release);
}

void flush() {
    if (g_held[g_filling].complete.load(std::memory_order_relaxed) == 0 && g_handed.load() < 0) {
        return;
    }
    FlushSignalsBlocked blocked;
    writeAllHeld();
}

void flushFromSignal() {
    const int savedErrno = errno;
    // The writer finishes the buffer it has (it runs on another thread, which the signal does not stop);
    // two seconds at most, so that a hung file cannot keep a crashing program alive.
    const timespec pause{0, 1000000};
    for (int i = 0; i < 2000 && g_handed.load() >= 0; ++i) {
        nanosleep(&pause, nullptr);
    }
    if (g_handed.load() < 0) {
        writeOut(g_held[g_filling]);
    }
    errno = savedErrno;
}

size_t held() {
    size_t bytes = 0;
    for (const Held& held : g_held) {
        const size_t complete = held.complete.load();
        const size_t written = held.written.load();
        bytes += complete > written ? complete - written : 0;
    }
    return bytes;
}

void writeThrough() {
    FlushSignalsBlocked blocked;
    writeAllHeld();
    g_writeThrough = true;
}

}  // namespace logfile
