// A coupling's line through a frame of N blocks in rows and columns whose edges never line up (as blocks of
// different widths and port counts stand), from the first block to the last: the cost of one line, which
// the models' view pays once per link each time its blocks move.
#include <benchmark/benchmark.h>

#include <vector>

#include "scene/SDLinkRouter.h"

namespace {

void BM_RouteAcrossFrame(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    int side = 1;
    while (side * side < count) {
        ++side;
    }
    std::vector<SDLinkRouter::Rect> boxes;
    for (int i = 0; i < count; ++i) {
        const float x = static_cast<float>(i % side) * 4.0f + static_cast<float>(i % 7) * 0.1f;
        const float y = static_cast<float>(i / side) * 3.0f + static_cast<float>(i % 5) * 0.07f;
        boxes.push_back({x, y, x + 1.2f, y + 1.7f});
    }
    const float far = static_cast<float>(side);
    const SDLinkRouter router({-2.0f, -2.0f, far * 4.0f + 2.0f, far * 3.0f + 2.0f}, boxes);
    size_t corners = 0;
    for (auto _ : state) {
        corners =
            router.route({1.55f, 0.5f}, {(far - 1.0f) * 4.0f - 0.35f, (far - 1.0f) * 3.0f + 0.5f}).size();
        benchmark::DoNotOptimize(corners);
    }
    state.counters["corners"] = static_cast<double>(corners);
    state.counters["grid"] = static_cast<double>(router.cost());
}
BENCHMARK(BM_RouteAcrossFrame)->Arg(4)->Arg(16)->Arg(64)->Unit(benchmark::kMicrosecond);

}  // namespace
