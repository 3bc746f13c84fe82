// Values over time on a 100×100 Game of Life run of about 1,000,000 lines (written at build time by
// lifelog; another log can be named in TESS_BENCH_LOG, such as the 1,250,324-line life_log_110): one cell's
// series, the minimum, mean and maximum of the whole space at every event time, and the CSV text of that,
// as vis_plot and vis_export read them once the log is imported. The log's channels are off.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "control/VCSeriesCsv.h"
#include "control/VCSeriesTarget.h"
#include "control/VCSimulation.h"
#include "shell/EngineVariables.h"
#include "simdata/SDEventList.h"
#include "simdata/SDSeries.h"
#include "simdata/SDVisualization.h"

namespace {

std::string logPath() {
    const char* chosen = std::getenv("TESS_BENCH_LOG");
    return chosen != nullptr && *chosen != '\0' ? chosen : TESS_LIFE_LOG_LARGE;
}

bool imported() {
    static bool done = false;
    static bool ok = false;
    if (!done) {
        done = true;
        getEngineVariables()->setBool("file_logging", false);
        getEngineVariables()->setBool("console_logging", false);
        createSimulation();
        getSimulation()->newVisualization("bench");
        ok = getSimulation()->importLogFile(logPath());
    }
    return ok;
}

VCSeriesTarget target(const std::vector<std::string>& words) {
    VCSeriesTarget parsed;
    VCSeriesTarget::parse(words, parsed);
    return parsed;
}

void fetch(benchmark::State& state, const VCSeriesTarget& what) {
    if (!imported()) {
        state.SkipWithError("cannot read the log; build the target life_log_large");
        return;
    }
    SDSeries series;
    std::string error;
    for (auto _ : state) {
        if (!what.fetch(series, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::DoNotOptimize(series.values.data());
    }
    state.counters["points"] = static_cast<double>(series.size());
    state.counters["events"] = static_cast<double>(getVisualization()->getEventList()->size());
}

// vis_plot life 50 50: one cell's outputs.
void BM_CellSeries(benchmark::State& state) {
    fetch(state, target({"life", "50", "50"}));
}
BENCHMARK(BM_CellSeries)->Unit(benchmark::kMicrosecond);

// The cell of the 100 x 100 space that sent the most values (found once, untimed).
void BM_BusiestCellSeries(benchmark::State& state) {
    if (!imported()) {
        state.SkipWithError("cannot read the log");
        return;
    }
    static VCSeriesTarget busiest;
    static size_t most = 0;
    if (most == 0) {
        SDSeries series;
        std::string error;
        for (int x = 0; x < 100; ++x) {
            for (int y = 0; y < 100; ++y) {
                const VCSeriesTarget cell = target({"life", std::to_string(x), std::to_string(y)});
                if (cell.fetch(series, error) && series.size() > most) {
                    most = series.size();
                    busiest = cell;
                }
            }
        }
    }
    fetch(state, busiest);
}
BENCHMARK(BM_BusiestCellSeries)->Unit(benchmark::kMicrosecond);

// vis_plot life: the whole space's minimum, mean and maximum at every event time.
void BM_SpaceSeries(benchmark::State& state) {
    fetch(state, target({"life"}));
}
BENCHMARK(BM_SpaceSeries)->Unit(benchmark::kMillisecond);

// The CSV text vis_export writes for the whole space.
void BM_SpaceCsv(benchmark::State& state) {
    if (!imported()) {
        state.SkipWithError("cannot read the log");
        return;
    }
    SDSeries series;
    std::string error;
    target({"life"}).fetch(series, error);
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = VCSeriesCsv::text(series);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SpaceCsv)->Unit(benchmark::kMicrosecond);

}  // namespace
