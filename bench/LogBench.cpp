// Cost of one logged message with the file channel on (the console channel off: no console exists).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "shell/EngineVariables.h"
#include "shell/Log.h"

namespace {

void BM_LogMessage60Bytes(benchmark::State& state) {
    char dir[] = "/tmp/tessaron-bench-XXXXXX";
    if (::mkdtemp(dir) == nullptr || ::chdir(dir) != 0) {
        state.SkipWithError("no temporary directory");
        return;
    }
    logdetail::forgetLogFile();
    resetLog();
    getEngineVariables()->setBool("file_logging", true);
    getEngineVariables()->setBool("console_logging", true);
    const std::string port = "neighborchange";
    for (auto _ : state) {
        // 60 characters with the newline, formatted like the loader's lines.
        logMessage("Adding event to model %s at %s value %.5f", port.c_str(), "00:01:02:003", 1.5);
    }
    state.SetItemsProcessed(state.iterations());
    resetLog();
    std::string path = logFilePath();
    ::unlink(path.c_str());
    ::rmdir(dir);
}
BENCHMARK(BM_LogMessage60Bytes);

}  // namespace
