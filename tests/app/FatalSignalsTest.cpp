// A process that dies by a signal leaves a log file that ends with a complete line and holds every line
// written before the signal: the lines held in memory are written by the signal handler.
#include "shell/app/FatalSignals.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "control/VCSimulation.h"
#include "shell/EngineVariables.h"
#include "shell/Log.h"
#include "tests/support/TempDir.h"

namespace {

// In a child process: a fresh log in `dir` with the file channel on and the handlers installed.
void startChildLog(const std::string& dir) {
    if (::chdir(dir.c_str()) != 0) {
        ::_exit(90);
    }
    logdetail::forgetLogFile();
    resetLog();
    getEngineVariables()->setBool("file_logging", true);
    getEngineVariables()->setBool("console_logging", false);
    flushLogOnFatalSignals();
}

// Runs `body` in a child process that must not return from it; gives its wait status.
int inChild(const std::function<void()>& body) {
    flushLog();  // nothing of ours may be written a second time by the child
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(91);  // the signal should have ended the process
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

// Killed by the signal, or ended by the sanitizer's report that the signal led to.
bool diedOf(int status, int signal) {
    return (WIFSIGNALED(status) && WTERMSIG(status) == signal) ||
           (WIFEXITED(status) && WEXITSTATUS(status) != 0 && WEXITSTATUS(status) < 90);
}

// A fault at a bad address: an inaccessible page, read.
void faultOnProtectedPage() {
    void* page = ::mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    volatile const char* bad = static_cast<const char*>(page);
    (void)*bad;
}

// A bus error: a mapped page past the end of its (empty) file, read.
void busErrorPastEndOfFile(const std::string& dir) {
    const int fd = ::open((dir + "/empty").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    void* page = ::mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0);
    volatile const char* past = static_cast<const char*>(page);
    (void)*past;
}

TEST(FatalSignalsTest, HeldLinesAreWrittenBeforeTheSignalTakesItsCourse) {
    struct Case {
        const char* name;
        int signal;
        std::function<void(const std::string&)> deliver;
    };
    const Case cases[] = {
        {"SIGTERM sent", SIGTERM, [](const std::string&) { ::kill(::getpid(), SIGTERM); }},
        {"SIGINT sent", SIGINT, [](const std::string&) { ::raise(SIGINT); }},
        {"SIGSEGV sent", SIGSEGV, [](const std::string&) { ::kill(::getpid(), SIGSEGV); }},
        {"SIGSEGV by a bad address", SIGSEGV, [](const std::string&) { faultOnProtectedPage(); }},
        {"SIGBUS past the end of a file", SIGBUS, [](const std::string& dir) { busErrorPastEndOfFile(dir); }},
        {"SIGABRT by abort", SIGABRT, [](const std::string&) { std::abort(); }},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const int status = inChild([&] {
            startChildLog(dir.path());
            logMessage("first line");
            logMessage("last line before %s", c.name);
            c.deliver(dir.path());
        });
        EXPECT_TRUE(diedOf(status, c.signal)) << c.name << ": status " << status;
        EXPECT_EQ("first line\nlast line before " + std::string(c.name) + "\n", readFile(dir.file("log.txt")))
            << c.name;
    }
}

TEST(FatalSignalsTest, AnIgnoredSignalStaysIgnored) {
    TempDir dir;
    const int status = inChild([&] {
        ::signal(SIGINT, SIG_IGN);
        startChildLog(dir.path());
        ::raise(SIGINT);
        logMessage("still running");
        std::exit(0);
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ("still running\n", readFile(dir.file("log.txt")));
}

// A Game of Life style log of `messages` X and Y lines over a 100 x 100 cell space.
std::string writeImportLog(const TempDir& dir, int messages) {
    std::ofstream out(dir.file("run.log"), std::ios::binary);
    char line[160];
    for (int i = 0; i < messages; ++i) {
        const int cell = i % 10000;
        const int x = cell / 100;
        const int y = cell % 100;
        const int ms = i / 1000 * 100;
        if (i % 9 == 0) {
            std::snprintf(line, sizeof line,
                          "msg Y / 00:00:%02d:%03d / life(%d,%d)(%02d) / out / %12.5f to life(02)\n",
                          ms / 1000 % 60, ms % 1000, x, y, cell + 3, static_cast<double>(i % 2));
        } else {
            std::snprintf(
                line, sizeof line,
                "msg X / 00:00:%02d:%03d / life(02) / neighborchange / %12.5f to life(%d,%d)(%02d)\n",
                ms / 1000 % 60, ms % 1000, static_cast<double>(i % 2), x, y, cell + 3);
        }
        out << line;
    }
    return dir.file("run.log");
}

[[noreturn]] void importThenWait(const std::string& dir, const std::string& log, bool exitAfter) {
    startChildLog(dir);
    createSimulation();
    getSimulation()->newVisualization("killed");
    getSimulation()->importLogFile(log);
    if (exitAfter) {
        std::exit(0);
    }
    while (true) {
        ::pause();
    }
}

off_t sizeOf(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? info.st_size : 0;
}

// The import's whole log, from a run that ends normally; then runs that are killed part way, once the file
// has grown past a few flushes. Whatever the moment, the file must be a prefix of the whole log that ends
// at a line's end. (Should the import win the race and finish first, the check still holds.)
TEST(FatalSignalsTest, AnImportKilledPartWayLeavesACompletePrefixOfItsLog) {
    TempDir data;
    const std::string log = writeImportLog(data, 40000);
    TempDir whole;
    const int finished = inChild([&] { importThenWait(whole.path(), log, true); });
    ASSERT_TRUE(WIFEXITED(finished) && WEXITSTATUS(finished) == 0) << finished;
    const std::string reference = readFile(whole.file("log.txt"));
    ASSERT_GT(reference.size(), 6u << 20) << "the import should log several megabytes";

    for (int signal : {SIGTERM, SIGSEGV}) {
        TempDir dir;
        flushLog();
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            importThenWait(dir.path(), log, false);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (sizeOf(dir.file("log.txt")) < (3 << 20) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(diedOf(status, signal)) << signal << ": status " << status;

        const std::string left = readFile(dir.file("log.txt"));
        ASSERT_GE(left.size(), 3u << 20) << signal;
        EXPECT_EQ('\n', left.back()) << signal << ": the last line is torn";
        EXPECT_TRUE(reference.compare(0, left.size(), left) == 0)
            << signal << ": not the beginning of the import's log (" << left.size() << " bytes)";
    }
}

}  // namespace
