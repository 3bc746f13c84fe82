// The time cursor on a 100×100 Game of Life run of about 1,000,000 lines (written at build time by
// lifelog; another log can be named in the environment variable TESS_BENCH_LOG): jumps to the end, the
// start and the middle, single steps, and the memory the imported run holds per event, per cell and in
// checkpoints. The log's channels are off, so nothing is written or drawn.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "control/VCSimulation.h"
#include "shell/EngineVariables.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDCellValues.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"

namespace {

std::string logPath() {
    const char* chosen = std::getenv("TESS_BENCH_LOG");
    return chosen != nullptr && *chosen != '\0' ? chosen : TESS_LIFE_LOG_LARGE;
}

size_t heapBytes() {
    return mallinfo2().uordblks;
}

size_t g_heapBefore = 0;
size_t g_heapAfter = 0;

// Imports the run once for all benchmarks; false when the log cannot be read.
bool imported() {
    static bool done = false;
    static bool ok = false;
    if (!done) {
        done = true;
        getEngineVariables()->setBool("file_logging", false);
        getEngineVariables()->setBool("console_logging", false);
        createSimulation();
        g_heapBefore = heapBytes();
        getSimulation()->newVisualization("bench");
        ok = getSimulation()->importLogFile(logPath());
        malloc_trim(0);
        g_heapAfter = heapBytes();
    }
    return ok;
}

VCSimulation& simulation() {
    return *getSimulation();
}

double middleTime() {
    return simulation().timeAt(simulation().timeCount() / 2);
}

void BM_TimeGotoEnd(benchmark::State& state) {
    if (!imported()) {
        state.SkipWithError("cannot read the log; build the target life_log_large");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        simulation().timeFirst();
        state.ResumeTiming();
        simulation().timeLast();
    }
    state.counters["times"] = static_cast<double>(simulation().timeCount());
}
BENCHMARK(BM_TimeGotoEnd)->Unit(benchmark::kMillisecond);

void BM_TimeGotoStart(benchmark::State& state) {
    if (!imported()) {
        state.SkipWithError("cannot read the log");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        simulation().timeLast();
        state.ResumeTiming();
        simulation().timeFirst();
    }
}
BENCHMARK(BM_TimeGotoStart)->Unit(benchmark::kMillisecond);

// To the middle, from the start and from the end in turn.
void BM_TimeGotoMiddle(benchmark::State& state) {
    if (!imported()) {
        state.SkipWithError("cannot read the log");
        return;
    }
    bool fromStart = true;
    const double middle = middleTime();
    for (auto _ : state) {
        state.PauseTiming();
        fromStart ? simulation().timeFirst() : simulation().timeLast();
        fromStart = !fromStart;
        state.ResumeTiming();
        simulation().timeGoto(middle);
    }
}
BENCHMARK(BM_TimeGotoMiddle)->Unit(benchmark::kMillisecond);

// One step forward, over the whole run (back to the start, untimed, at the end).
void BM_TimeNext(benchmark::State& state) {
    if (!imported()) {
        state.SkipWithError("cannot read the log");
        return;
    }
    simulation().timeFirst();
    for (auto _ : state) {
        if (!simulation().timeNext()) {
            state.PauseTiming();
            simulation().timeFirst();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_TimeNext)->Unit(benchmark::kMicrosecond);

void BM_TimePrevious(benchmark::State& state) {
    if (!imported()) {
        state.SkipWithError("cannot read the log");
        return;
    }
    simulation().timeLast();
    for (auto _ : state) {
        if (!simulation().timePrevious()) {
            state.PauseTiming();
            simulation().timeLast();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_TimePrevious)->Unit(benchmark::kMicrosecond);

// What the imported run holds: the heap taken by the whole import (models, events, names, cell values,
// the cursor's index) per event, the event list alone per event, and the checkpoints against the event
// list. Run alone for clean heap figures: --benchmark_filter=Memory.
void BM_ImportedRunMemory(benchmark::State& state) {
    if (!imported()) {
        state.SkipWithError("cannot read the log");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(simulation().timeCount());
    }
    SDVisualization* visualization = getVisualization();
    const double events = static_cast<double>(visualization->getEventList()->size());
    SDTimeCursor* cursor = visualization->getCursor();
    state.counters["events"] = events;
    state.counters["heap_MB"] = static_cast<double>(g_heapAfter - g_heapBefore) / 1e6;
    state.counters["heap_per_event"] = static_cast<double>(g_heapAfter - g_heapBefore) / events;
    state.counters["event_list_per_event"] =
        static_cast<double>(visualization->getEventList()->memoryBytes()) / events;
    state.counters["cursor_index_MB"] = static_cast<double>(cursor->indexBytes()) / 1e6;
    state.counters["checkpoints_share_of_events"] =
        static_cast<double>(cursor->checkpointBytes()) /
        static_cast<double>(visualization->getEventList()->memoryBytes());
}
BENCHMARK(BM_ImportedRunMemory)->Iterations(1);

// The heap that a 100×100 space's values take, per cell, after every cell has been given a value and
// the changes have been read: what the cursor adds to each cell.
void BM_CellValuesBytesPerCell(benchmark::State& state) {
    constexpr unsigned kSide = 100;
    double perCell = 0.0;
    for (auto _ : state) {
        SDCELLDevsModel model;
        model.ensureCell(kSide - 1, kSide - 1, 0);
        const size_t before = heapBytes();
        SDCellValues& values = model.getValues();
        std::vector<uint32_t> changed;
        bool all = false;
        values.takeChanges(changed, all);
        for (size_t i = 0; i < values.size(); ++i) {
            values.set(i, static_cast<double>(i), 1);
        }
        values.takeChanges(changed, all);
        std::vector<uint32_t>().swap(changed);
        perCell = static_cast<double>(heapBytes() - before) / static_cast<double>(values.size());
    }
    state.counters["bytes_per_cell"] = perCell;
}
BENCHMARK(BM_CellValuesBytesPerCell)->Iterations(1);

// Building the cursor's index and checkpoints from scratch, as the end of an import does, with the values
// at the start. Last, since this second cursor rewrites the cells' values behind the first one's back.
void BM_CursorIndexBuild(benchmark::State& state) {
    if (!imported()) {
        state.SkipWithError("cannot read the log");
        return;
    }
    SDVisualization* visualization = getVisualization();
    for (auto _ : state) {
        SDTimeCursor cursor(*visualization->getEventList(), *visualization->getModelList());
        cursor.sync();
        benchmark::DoNotOptimize(cursor.timeCount());
    }
}
BENCHMARK(BM_CursorIndexBuild)->Unit(benchmark::kMillisecond);

}  // namespace
