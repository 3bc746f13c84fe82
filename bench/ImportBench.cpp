// Importing a 100×100 Game of Life log of about 1,000,000 lines (written at build time by lifelog) through
// the simulation controller, as the console command does: both log channels on and a console that keeps
// the last 1000 lines. Beside it the floor, reading the same file and cutting every line into fields with
// no model work, the import with the log's channels switched off, which shows the log's share, and the
// same run as a Cadmium 1 message and state file (cadmium1log), besides a longer run of that pair with as
// many lines as the log.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "control/VCImportHost.h"
#include "control/VCSimulation.h"
#include "gui/VDTextBox.h"
#include "loader/SLCadmium1File.h"
#include "loader/SLCadmiumCsvFile.h"
#include "loader/SLLogFields.h"
#include "loader/SLLogFile.h"
#include "loader/SLSink.h"
#include "shell/ConsoleChannel.h"
#include "shell/EngineVariables.h"
#include "shell/Log.h"
#include "simdata/SDEvent.h"
#include "simdata/SDEventList.h"
#include "simdata/SDVisualization.h"

namespace {

// TESS_IMPORT_LOG in the environment names another log (such as the 110-generation one of the target
// life_log_110).
const char* const kLog =
    std::getenv("TESS_IMPORT_LOG") != nullptr ? std::getenv("TESS_IMPORT_LOG") : TESS_LIFE_LOG_LARGE;
// The Cell-DEVS run in separated values of the same scale: 100×100 cells over 50 steps, every cell
// whose temperature moved at a step reporting its output and state (cadmiumcsv, target cadmium_csv_large):
// 845,497 lines, 845,444 events.
const char* const kCsvLog = TESS_CADMIUM_CSV_LARGE;
constexpr int kConsoleLines = 1000;

// The console: the toolkit's text box with the console's capacity.
VDTextBox* g_console = nullptr;
long long g_consoleLines = 0;
void countedConsole(const std::string& line) {
    ++g_consoleLines;
    g_console->addLine(line);
}

std::string g_workDir;
double g_floorSeconds = 0.0;  // the fastest floor run, for the import's ratio

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The log file goes to a private directory (it grows to several hundred megabytes), removed at exit.
void removeWorkDir() {
    if (!g_workDir.empty()) {
        std::remove((g_workDir + "/log.txt").c_str());
        ::rmdir(g_workDir.c_str());
    }
}

void setUpOnce() {
    if (!g_workDir.empty()) {
        return;
    }
    char pattern[] = "/tmp/tessaron-bench-XXXXXX";
    if (::mkdtemp(pattern) != nullptr && ::chdir(pattern) == 0) {
        g_workDir = pattern;
        std::atexit(removeWorkDir);
    }
    resetLog();
    g_console = new VDTextBox(false);
    g_console->setCapacity(kConsoleLines);
    createSimulation();
}

void setChannels(bool file, bool console) {
    getEngineVariables()->setBool("file_logging", file);
    getEngineVariables()->setBool("console_logging", console);
    setConsoleSink(console ? &countedConsole : nullptr);
}

long peakResidentMegabytes() {
    struct rusage usage;
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Reads the file the way the loader does and only cuts each line into fields.
class FieldCutter : public SLLogFile {
  public:
    explicit FieldCutter(const std::string& path) : SLLogFile(nullptr, path) {}
    bool parseLine(const char* line) override {
        std::string_view fields[8];
        ++lines;
        if (cutLogFields(line, fields, 8) == 8) {
            ++messages;
        }
        return true;
    }
    long long lines = 0;
    long long messages = 0;
};

void BM_ReadAndCutFloor(benchmark::State& state) {
    setUpOnce();
    long long lines = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        FieldCutter cutter(kLog);
        if (!cutter.load()) {
            state.SkipWithError("cannot read the log; build the target life_log_large");
            return;
        }
        lines = cutter.lines;
        benchmark::DoNotOptimize(cutter.messages);
        const double seconds = secondsSince(start);
        if (g_floorSeconds == 0.0 || seconds < g_floorSeconds) {
            g_floorSeconds = seconds;
        }
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_ReadAndCutFloor)->Unit(benchmark::kMillisecond)->Iterations(3);

// The log's size and line count, read once, for the rates every import reports.
struct LogSize {
    double bytes = 0.0;
    double lines = 0.0;
};
LogSize measureFile(const char* path) {
    LogSize measured;
    if (FILE* file = std::fopen(path, "rb")) {
        char buffer[1 << 16];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            measured.bytes += static_cast<double>(got);
            measured.lines += static_cast<double>(std::count(buffer, buffer + got, '\n'));
        }
        std::fclose(file);
    }
    return measured;
}
const LogSize& logSize() {
    static const LogSize size = measureFile(kLog);
    return size;
}

// Lines and bytes of the log (or of `size`) per second of wall time.
void reportRates(benchmark::State& state, double seconds, const LogSize& size = logSize()) {
    if (seconds > 0.0) {
        state.counters["lines_per_s"] = size.lines / seconds;
        state.counters["bytes_per_s"] = size.bytes / seconds;
    }
}

// The loader's own work: reading, cutting, filling its event and its two records per message and offering
// them by reference, as to the link (the sink refuses the records and takes the events without keeping
// anything). Log channels off.
class DiscardingSink : public SLSink {
  public:
    bool addModel(SDDevsModel*) override { return false; }
    bool addEvent(SDEvent* event) override {
        delete event;
        return true;
    }
    bool offerModel(const SDDevsModel&) override { return false; }
    bool offerEvent(const SDEvent&) override { return true; }
};

// A reader's own work on `path`, every record offered to a sink that keeps nothing.
template <class Reader>
void readAlone(benchmark::State& state, const char* path, const char* failure, const LogSize& size) {
    setUpOnce();
    setChannels(false, false);
    double seconds = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        DiscardingSink sink;
        Reader loader(&sink, path);
        if (!loader.load()) {
            state.SkipWithError(failure);
        }
        seconds = secondsSince(start);
    }
    reportRates(state, seconds, size);
}

void BM_LoaderOnly(benchmark::State& state) {
    readAlone<SLLogFile>(state, kLog, "cannot read the log", logSize());
}
BENCHMARK(BM_LoaderOnly)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same for the run in separated values.
void BM_CsvLoaderOnly(benchmark::State& state) {
    readAlone<SLCadmiumCsvFile>(state, kCsvLog, "cannot read the run; build the target cadmium_csv_large",
                                measureFile(kCsvLog));
}
BENCHMARK(BM_CsvLoaderOnly)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same for the generated Cadmium 1 pair (the same run as the large log): argument 0 the message file,
// 1 the state file.
void BM_Cadmium1LoaderOnly(benchmark::State& state) {
    const char* path = state.range(0) == 0 ? TESS_CADMIUM1_MESSAGES_LARGE : TESS_CADMIUM1_STATES_LARGE;
    readAlone<SLCadmium1File>(state, path, "cannot read the pair; build the target cadmium1_log_large",
                              measureFile(path));
}
BENCHMARK(BM_Cadmium1LoaderOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// Both files of a pair imported into one visualization, log channels off, as BM_ImportLogOff.
void importPair(benchmark::State& state, const char* messages, const char* states) {
    setUpOnce();
    setChannels(false, false);
    double seconds = 0.0;
    size_t events = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        getSimulation()->newVisualization("bench");
        if (!getSimulation()->importLogFile(messages) || !getSimulation()->importLogFile(states)) {
            state.SkipWithError("import failed");
        }
        seconds = secondsSince(start);
        state.PauseTiming();
        events = getVisualization()->getEventList()->size();
        getSimulation()->closeVisualization();
        resetLog();
        state.ResumeTiming();
    }
    LogSize both = measureFile(messages);
    const LogSize second = measureFile(states);
    both.lines += second.lines;
    both.bytes += second.bytes;
    state.counters["events"] = static_cast<double>(events);
    reportRates(state, seconds, both);
}

// The large message log's run (442,742 lines: the pair writes no line for a message into a cell).
void BM_Cadmium1ImportLogOff(benchmark::State& state) {
    importPair(state, TESS_CADMIUM1_MESSAGES_LARGE, TESS_CADMIUM1_STATES_LARGE);
}
BENCHMARK(BM_Cadmium1ImportLogOff)->Unit(benchmark::kMillisecond)->Iterations(1);

// A pair of as many lines as the large message log (1,002,793), for its lines a second.
void BM_Cadmium1SameSizeImportLogOff(benchmark::State& state) {
    importPair(state, TESS_CADMIUM1_MESSAGES_1M, TESS_CADMIUM1_STATES_1M);
}
BENCHMARK(BM_Cadmium1SameSizeImportLogOff)->Unit(benchmark::kMillisecond)->Iterations(1);

// One whole import into a fresh visualization; closing it is not timed.
void importOnce(benchmark::State& state, bool file, bool console, const char* path = kLog) {
    setUpOnce();
    setChannels(file, console);
    g_consoleLines = 0;
    size_t events = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        getSimulation()->newVisualization("bench");
        if (!getSimulation()->importLogFile(path)) {
            state.SkipWithError("import failed");
        }
        seconds = secondsSince(start);
        state.PauseTiming();
        events = getVisualization()->getEventList()->size();
        getSimulation()->closeVisualization();
        resetLog();
        state.ResumeTiming();
    }
    setChannels(false, false);
    state.counters["events"] = static_cast<double>(events);
    state.counters["console_lines"] = static_cast<double>(g_consoleLines);
    if (g_floorSeconds > 0.0) {
        state.counters["ratio_to_floor"] = seconds / g_floorSeconds;
    }
    state.counters["peak_rss_MB"] = static_cast<double>(peakResidentMegabytes());
    reportRates(state, seconds, path == kLog ? logSize() : measureFile(path));
}

void BM_ImportBothChannelsAndConsole(benchmark::State& state) {
    importOnce(state, true, true);
}
BENCHMARK(BM_ImportBothChannelsAndConsole)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ImportConsoleOnly(benchmark::State& state) {
    importOnce(state, false, true);
}
BENCHMARK(BM_ImportConsoleOnly)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ImportLogOff(benchmark::State& state) {
    importOnce(state, false, false);
}
BENCHMARK(BM_ImportLogOff)->Unit(benchmark::kMillisecond)->Iterations(1);

// The run in separated values, imported as the message log is above.
void BM_CsvImportBothChannelsAndConsole(benchmark::State& state) {
    importOnce(state, true, true, kCsvLog);
}
BENCHMARK(BM_CsvImportBothChannelsAndConsole)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CsvImportLogOff(benchmark::State& state) {
    importOnce(state, false, false, kCsvLog);
}
BENCHMARK(BM_CsvImportLogOff)->Unit(benchmark::kMillisecond)->Iterations(1);

// The program's loop calls continueImport itself; here the benchmark is the loop.
class LoopHost : public VCImportHost {
  public:
    void importStarted() override {}
    void importEnded() override {}
};

// The import as the running program reads it: slices of 30 ms (the program's), each followed by the flush
// of the log file that ends every GLUT callback. Both channels and the console on. How long the slices
// take is what Escape waits for at most (the program reads input between two slices); the last one also
// brings the time cursor up to date.
void BM_ImportInSlices(benchmark::State& state) {
    setUpOnce();
    setChannels(true, true);
    getSimulation()->setImportHost(std::make_unique<LoopHost>());
    double longest = 0.0;
    double last = 0.0;
    long long slices = 0;
    for (auto _ : state) {
        getSimulation()->newVisualization("bench");
        if (!getSimulation()->startImport(kLog)) {
            state.SkipWithError("import failed");
        }
        bool more = true;
        while (more) {
            const auto start = std::chrono::steady_clock::now();
            more = getSimulation()->continueImport(30.0);
            flushLog();
            last = secondsSince(start) * 1000.0;
            longest = std::max(longest, last);
            ++slices;
        }
        state.PauseTiming();
        getSimulation()->closeVisualization();
        resetLog();
        state.ResumeTiming();
    }
    getSimulation()->setImportHost(nullptr);
    setChannels(false, false);
    state.counters["slices"] = static_cast<double>(slices);
    state.counters["longest_slice_ms"] = longest;
    state.counters["last_slice_ms"] = last;
}
BENCHMARK(BM_ImportInSlices)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
