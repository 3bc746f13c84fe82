// Cost of one logged message with the file channel on (the console channel off: no console exists). The
// file channel holds lines and writes them out a megabyte at a time, so these are the per-message costs of
// formatting and holding plus a share of one large write.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "shell/EngineVariables.h"
#include "shell/Log.h"

namespace {

class LogFileInTempDir {
  public:
    explicit LogFileInTempDir(benchmark::State& state) {
        if (::mkdtemp(m_dir) == nullptr || ::chdir(m_dir) != 0) {
            state.SkipWithError("no temporary directory");
            return;
        }
        logdetail::forgetLogFile();
        resetLog();
        getEngineVariables()->setBool("file_logging", true);
        getEngineVariables()->setBool("console_logging", true);
    }
    ~LogFileInTempDir() {
        resetLog();
        const std::string path = logFilePath();
        logdetail::forgetLogFile();
        ::unlink(path.c_str());
        ::rmdir(m_dir);
    }

  private:
    char m_dir[32] = "/tmp/tessaron-bench-XXXXXX";
};

void BM_LogMessage67Bytes(benchmark::State& state) {
    LogFileInTempDir file(state);
    const std::string port = "neighborchange";
    for (auto _ : state) {
        // 67 bytes with the newline, formatted like the loader's lines; the %.5f goes to vsnprintf.
        logMessage("Adding event to model %s at %s value %.5f", port.c_str(), "00:01:02:003", 1.5);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogMessage67Bytes);

// The directives most messages use (%s, %d), which the log converts itself.
void BM_LogMessageStringAndNumber(benchmark::State& state) {
    LogFileInTempDir file(state);
    const std::string name = "life";
    int width = 0;
    for (auto _ : state) {
        logMessage("Name: %s, Width: %d", name.c_str(), ++width);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogMessageStringAndNumber);

// A text used as it stands, as the loader logs each imported line.
void BM_LogText85Bytes(benchmark::State& state) {
    LogFileInTempDir file(state);
    const std::string line =
        "msg X / 00:00:10:900 / life(02) / neighborchange /      1.00000 to life(12,34)(1237)";
    for (auto _ : state) {
        logText(line);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogText85Bytes);

}  // namespace
