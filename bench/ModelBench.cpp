// The large plain DEVS hierarchy (devs_log_1000: 1,111 models four levels deep under Root, 1,000,122 message
// lines, written at build time by devslog): its import with the log's channels off (the models' histories
// indexed at its end included), and what vis_model
// answers for models at every level at the first, a middle and the last event time, and after a jump to a
// random time (each answer replays nothing: it reads the models' histories).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "control/VCModelReading.h"
#include "control/VCSimulation.h"
#include "shell/EngineVariables.h"

namespace {

double g_importSeconds = 0.0;
double g_importCpuSeconds = 0.0;

bool imported() {
    static bool done = false;
    static bool ok = false;
    if (!done) {
        done = true;
        getEngineVariables()->setBool("file_logging", false);
        getEngineVariables()->setBool("console_logging", false);
        createSimulation();
        getSimulation()->newVisualization("bench");
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        ok = getSimulation()->importLogFile(TESS_DEVS_LOG_1000);
        g_importSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        g_importCpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    }
    return ok;
}

void BM_ImportPlainModels1000(benchmark::State& state) {
    for (auto _ : state) {
        if (!imported()) {
            state.SkipWithError("the generated log could not be read");
            return;
        }
    }
    state.counters["import_s"] = g_importSeconds;
    state.counters["import_cpu_s"] = g_importCpuSeconds;
    state.counters["lines_per_s"] = 1000122.0 / g_importSeconds;
}
BENCHMARK(BM_ImportPlainModels1000)->Iterations(1)->Unit(benchmark::kMillisecond);

// One answer of vis_model, for a model of each level in turn (top, g5, g5_5, a5_5_5), at the time the
// argument chooses: 0 the first event time, 1 a middle one, 2 the last, 3 a random one each time.
void BM_ModelReading1000(benchmark::State& state) {
    if (!imported()) {
        state.SkipWithError("the generated log could not be read");
        return;
    }
    VCSimulation& simulation = *getSimulation();
    const size_t times = simulation.timeCount();
    const std::vector<std::string> models{"top", "g5", "g5_5", "a5_5_5"};
    std::mt19937 random(7);
    size_t next = 0;
    double longest = 0.0;
    size_t lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        size_t index = 0;
        switch (state.range(0)) {
            case 1:
                index = times / 2;
                break;
            case 2:
                index = times - 1;
                break;
            case 3:
                index = std::uniform_int_distribution<size_t>(0, times - 1)(random);
                break;
            default:
                break;
        }
        simulation.timeGoto(simulation.timeAt(index));
        const std::string& model = models[next++ % models.size()];
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const VCModelReading reading = VCModelReading::read(model);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        longest = std::max(longest, ms);
        lines += reading.lines.size();
        benchmark::DoNotOptimize(reading);
    }
    state.counters["longest_ms"] = longest;
    state.counters["lines"] = static_cast<double>(lines) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ModelReading1000)->DenseRange(0, 3)->Iterations(400)->Unit(benchmark::kMicrosecond);

}  // namespace
