// Model files of many lines read through VCModelFileLink into a fresh registry and couplings, as
// vis_import_model reads them (with the log's channels off): 200,000 link lines of one coupled model,
// 200,000 components lines of one, and 200,000 sections of one component each. Each file is written to a
// temporary folder once, before its benchmark.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "control/VCModelFileLink.h"
#include "shell/EngineVariables.h"
#include "simdata/SDCouplings.h"
#include "simdata/SDDevsModelList.h"

namespace {

enum Shape { kLinks, kComponents, kSections };

std::string writeFile(Shape shape, long count) {
    char folder[] = "/tmp/tess_model_bench_XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        return "";
    }
    const std::string path = std::string(folder) + "/many.ma";
    std::ofstream out(path);
    if (shape != kSections) {
        out << "[top]\n";
    }
    for (long i = 0; i < count; ++i) {
        switch (shape) {
            case kLinks:
                out << "link : out@m" << i << " in@m" << (i + 1) << "\n";
                break;
            case kComponents:
                out << "components : m" << i << "@Atomic\n";
                break;
            case kSections:
                out << "[c" << i << "]\ncomponents : m" << i << "\n";
                break;
        }
    }
    return path;
}

void BM_ModelFile(benchmark::State& state) {
    getEngineVariables()->setBool("file_logging", false);
    getEngineVariables()->setBool("console_logging", false);
    const auto shape = static_cast<Shape>(state.range(0));
    const long count = static_cast<long>(state.range(1));
    const std::string path = writeFile(shape, count);
    if (path.empty()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    size_t entries = 0;
    for (auto _ : state) {
        SDDevsModelList models;
        SDCouplings couplings;
        VCModelFileLink link(models, couplings);
        if (!link.load(path)) {
            state.SkipWithError("the file could not be read");
            break;
        }
        entries = 0;
        for (const auto& [name, model] : couplings.getModels()) {
            entries += model.components.size() + model.links.size();
        }
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["lines_per_s"] =
        benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate);
    std::remove(path.c_str());
    ::rmdir(path.substr(0, path.rfind('/')).c_str());
}
BENCHMARK(BM_ModelFile)
    ->ArgNames({"shape", "lines"})
    ->Args({kLinks, 100000})
    ->Args({kLinks, 200000})
    ->Args({kComponents, 200000})
    ->Args({kSections, 200000})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
