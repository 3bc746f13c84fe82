// Cell-DEVS records: growth by merging one-cell records as an import does, laying out the cells,
// resident memory per cell, and the cost of one fresh record for one cell reference.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "shell/EngineVariables.h"
#include "shell/Log.h"
#include "simdata/ModelOffer.h"
#include "simdata/SDCELLDevsModel.h"

namespace {

constexpr unsigned kSide = 100;
constexpr double kCells = double(kSide) * kSide * kSide;

long residentBytes() {
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) {
        return 0;
    }
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
        resident = 0;
    }
    std::fclose(statm);
    return resident * ::sysconf(_SC_PAGESIZE);
}

void quietLog() {
    getEngineVariables()->setBool("file_logging", false);
    getEngineVariables()->setBool("console_logging", false);
}

// A record that starts at 1×1×1 and grows to 100×100×100 by taking one fresh one-cell record per cell,
// each thrown away after the merge. Reported per cell.
void BM_GrowByOneCellRecords(benchmark::State& state) {
    for (auto _ : state) {
        SDCELLDevsModel model;
        for (unsigned x = 0; x < kSide; ++x) {
            for (unsigned y = 0; y < kSide; ++y) {
                for (unsigned z = 0; z < kSide; ++z) {
                    auto cell = std::make_unique<SDCELLDevsModel>();
                    cell->ensureCell(x, y, z);
                    model.growTo(cell.get());
                }
            }
        }
        benchmark::DoNotOptimize(model.getCell(kSide - 1, kSide - 1, kSide - 1));
    }
    state.counters["per_cell"] = benchmark::Counter(
        kCells, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GrowByOneCellRecords)->Unit(benchmark::kMillisecond);

// The first layout of a 100×100×100 record: builds the cell storage and every cube.
void BM_FirstArrange(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<SDCELLDevsModel>();
        model->ensureCell(kSide - 1, kSide - 1, kSide - 1);
        state.ResumeTiming();
        model->arrange(Vector3(0, 0, -5), 20, 20, 20);
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.counters["per_cell"] = benchmark::Counter(
        kCells, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FirstArrange)->Unit(benchmark::kMillisecond);

// Every frame lays the cells out again; the cubes exist by then.
void BM_ArrangeAgain(benchmark::State& state) {
    SDCELLDevsModel model;
    model.ensureCell(kSide - 1, kSide - 1, kSide - 1);
    model.arrange(Vector3(0, 0, -5), 20, 20, 20);
    for (auto _ : state) {
        model.arrange(Vector3(0, 0, -5), 20, 20, 20);
    }
    state.counters["per_cell"] = benchmark::Counter(
        kCells, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ArrangeAgain)->Unit(benchmark::kMillisecond);

// Memory that a 100×100×100 record holds once arranged, per cell: heap bytes in use (allocator overhead
// included) and the growth of the resident set (meaningful when run first, before earlier benchmarks
// leave freed memory to reuse: --benchmark_filter=Resident).
void BM_ResidentBytesPerArrangedCell(benchmark::State& state) {
    for (auto _ : state) {
        const long before = residentBytes();
        const size_t heapBefore = mallinfo2().arena + mallinfo2().hblkhd - mallinfo2().fordblks;
        auto model = std::make_unique<SDCELLDevsModel>();
        model->ensureCell(kSide - 1, kSide - 1, kSide - 1);
        model->arrange(Vector3(0, 0, -5), 20, 20, 20);
        const long after = residentBytes();
        const size_t heapAfter = mallinfo2().arena + mallinfo2().hblkhd - mallinfo2().fordblks;
        state.counters["heap_bytes_per_cell"] = double(heapAfter - heapBefore) / kCells;
        state.counters["resident_bytes_per_cell"] = double(after - before) / kCells;
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ResidentBytesPerArrangedCell)->Iterations(1)->Unit(benchmark::kMillisecond);

// One cell reference as the loader makes it: a fresh record, grown for cell (99, 99, 0), discarded.
void BM_FreshRecordEnsureCell(benchmark::State& state) {
    for (auto _ : state) {
        auto model = std::make_unique<SDCELLDevsModel>();
        model->ensureCell(99, 99, 0);
        benchmark::DoNotOptimize(model.get());
    }
}
BENCHMARK(BM_FreshRecordEnsureCell);

// One imported cell line's worth of model work with logging off: offering a named one-cell record to a
// registry that already holds the model (grow, merge ports, print).
void BM_OfferCellRecordToRegistry(benchmark::State& state) {
    quietLog();
    SDDevsModelList registry;
    auto* life = new SDCELLDevsModel;
    life->setName("life");
    offerModel(registry, life);
    unsigned i = 0;
    for (auto _ : state) {
        auto* cell = new SDCELLDevsModel;
        cell->setName("life");
        cell->appendOutputPort("out");
        cell->ensureCell(i % kSide, (i / kSide) % kSide, 0);
        if (!offerModel(registry, cell)) {
            delete cell;
        }
        ++i;
    }
}
BENCHMARK(BM_OfferCellRecordToRegistry);

}  // namespace
