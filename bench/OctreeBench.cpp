// Octree cost: placing many small cubes spread over the world box, and one culled walk over them.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "scene/SDDetailNodeCUBE.h"
#include "scene/SDSceneGraph.h"
#include "scene/SDSceneNodeInfo.h"
#include "view3d/Frustum.h"

namespace {

constexpr int kCubes = 100000;
constexpr float kHalfWorld = SDSceneGraph::kWorldSize / 2;

int g_draws = 0;

// A cube that counts instead of issuing GL, so the walk itself is measured.
class CountingCube : public SDDetailNodeCUBE {
  public:
    void draw() override { ++g_draws; }
};

std::unique_ptr<SDDetailNodeCUBE> randomCube(std::mt19937& random) {
    std::uniform_real_distribution<float> coordinate(-kHalfWorld, kHalfWorld);
    auto cube = std::make_unique<CountingCube>();
    cube->setPosition(Vector3(coordinate(random), coordinate(random), coordinate(random)));
    cube->setSize(10);
    return cube;
}

// Through the scene graph, as the controller adds nodes: registration, placement and its log lines (the
// log channels are off here).
void BM_OctreeInsert100k(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto graph = std::make_unique<SDSceneGraph>();
        std::mt19937 random(1);
        std::vector<std::unique_ptr<SDDetailNodeCUBE>> cubes;
        cubes.reserve(kCubes);
        for (int i = 0; i < kCubes; ++i) {
            cubes.push_back(randomCube(random));
        }
        state.ResumeTiming();
        for (auto& cube : cubes) {
            benchmark::DoNotOptimize(graph->addNode(std::move(cube)));
        }
        state.PauseTiming();
        graph.reset();
        state.ResumeTiming();
    }
    state.counters["per_insert"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kCubes,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_OctreeInsert100k)->Unit(benchmark::kMillisecond);

// A frustum over the slab x in [-6400, -5120] (a tenth of the world's width, every y and z): culled
// subtrees are skipped, the rest is drawn once per frame.
void BM_OctreeCullWalk(benchmark::State& state) {
    SDSceneGraph graph;
    std::mt19937 random(1);
    for (int i = 0; i < kCubes; ++i) {
        graph.addNode(randomCube(random));
    }
    double projection[16] = {};
    double view[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const double left = -kHalfWorld, right = -kHalfWorld + SDSceneGraph::kWorldSize / 10;
    const double bottom = -kHalfWorld, top = kHalfWorld, nearPlane = -kHalfWorld, farPlane = kHalfWorld;
    projection[0] = 2 / (right - left);
    projection[5] = 2 / (top - bottom);
    projection[10] = -2 / (farPlane - nearPlane);
    projection[12] = -(right + left) / (right - left);
    projection[13] = -(top + bottom) / (top - bottom);
    projection[14] = -(farPlane + nearPlane) / (farPlane - nearPlane);
    projection[15] = 1;
    Frustum frustum;
    frustum.update(projection, view);

    g_draws = 0;
    for (auto _ : state) {
        advanceSceneFrame();
        graph.getRoot()->render(&frustum, 1);
    }
    state.counters["draws_per_walk"] = static_cast<double>(g_draws) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_OctreeCullWalk)->Unit(benchmark::kMicrosecond);

}  // namespace
