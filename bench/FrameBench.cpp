// Whole frames at 800x600 with the console closed, as the display callback draws them: the main window
// clears, the viewer window draws the grid, the scene graph culled by the camera's frustum and the cells of
// "life", then the button strip, and the main window swaps the buffers. One iteration is one frame, timed
// until glFinish returns; the median over the frames is reported as "median_ms", and the CPU time of all
// threads per frame as "cpu_ms".
//
// The argument says whether multisampling stays on (1, as the program runs: the window asks for a
// multisample visual) or is switched off with glDisable(GL_MULTISAMPLE) (0), to show what it costs.
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "console/VDDEVSConsoleParser.h"
#include "control/VCModelList.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "gui/VDEvent.h"
#include "gui/VDMainWindow.h"
#include "gui/VDThemeStore.h"
#include "shell/EngineVariables.h"
#include "shell/PropertySet.h"
#include "simdata/SDCELLDevsModel.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

void noDisplay() {}

// The program's window and process-wide objects, built once for the whole run as start-up builds them,
// with the console closed and both log channels off.
bool openWindow() {
    static bool open = false;
    if (!open) {
        int argc = 1;
        char name[] = "bench_frame";
        char* argv[] = {name, nullptr};
        glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH | GLUT_STENCIL |
                            GLUT_MULTISAMPLE);
        glutInitWindowSize(800, 600);
        glutInit(&argc, argv);
        glutCreateWindow("Tessaron");
        glutDisplayFunc(noDisplay);
        getEngineVariables()->setBool("file_logging", false);
        getEngineVariables()->setBool("console_logging", false);
        if (createMainWindow(800, 600, std::make_unique<VDDEVSConsoleParser>()) == nullptr ||
            !createThemeStore() || createSimulation() == nullptr) {
            return false;
        }
        auto viewer = std::make_unique<VDTessaronerWindow>();
        getMainWindow()->setContentWindow(std::move(viewer));
        getConsole()->close();
        open = true;
    }
    return open;
}

// CPU time of the whole process in milliseconds: the rasteriser's threads included.
double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void drawFrame() {
    VDRedisplayEvent redisplay;
    getMainWindow()->handleEvent(&redisplay);
}

void runFrames(benchmark::State& state) {
    if (state.range(0) == 0) {
        glDisable(GL_MULTISAMPLE);
    } else {
        glEnable(GL_MULTISAMPLE);
    }
    drawFrame();  // first frame: cell storage and cubes are built here
    glFinish();
    std::vector<double> frames;
    const double cpuStart = processCpuMs();
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        drawFrame();
        glFinish();
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        frames.push_back(elapsed.count() * 1000.0);
    }
    const double cpuPerFrame = (processCpuMs() - cpuStart) / static_cast<double>(frames.size());
    std::sort(frames.begin(), frames.end());
    state.counters["median_ms"] = frames[frames.size() / 2];
    // Less sensitive than the wall time to other work on the machine.
    state.counters["cpu_ms"] = cpuPerFrame;
}

// No visualization: the grid and the button strip alone.
void BM_FrameEmpty(benchmark::State& state) {
    if (!openWindow()) {
        state.SkipWithError("no GL window");
        return;
    }
    runFrames(state);
}
BENCHMARK(BM_FrameEmpty)->Arg(1)->Arg(0)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

// The "life" cell space of 100 x 100 cells, as an import of a 100 x 100 run leaves it.
void BM_FrameLife100x100(benchmark::State& state) {
    if (!openWindow()) {
        state.SkipWithError("no GL window");
        return;
    }
    VCSimulation* simulation = getSimulation();
    simulation->newVisualization("bench.vis");
    auto life = std::make_unique<SDCELLDevsModel>();
    life->setName("life");
    life->ensureCell(99, 99, 0);
    if (simulation->getModelList()->addModel(life.get())) {
        life.release();  // the registry owns it now
    }
    runFrames(state);
    simulation->closeVisualization();
}
BENCHMARK(BM_FrameLife100x100)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

// 10,000 cubes added as detail nodes, a 100 x 100 field on the ground ahead of the camera.
void BM_Frame10000Cubes(benchmark::State& state) {
    if (!openWindow()) {
        state.SkipWithError("no GL window");
        return;
    }
    VCSimulation* simulation = getSimulation();
    simulation->newVisualization("bench.vis");
    for (int i = 0; i < 100; ++i) {
        for (int j = 0; j < 100; ++j) {
            PropertySet properties;
            properties.set("type", "CUBE");
            properties.set("position_x", std::to_string(-10.0 + 0.2 * i));
            properties.set("position_y", "0.05");
            properties.set("position_z", std::to_string(-0.5 - 0.2 * j));
            properties.set("size", "0.1");
            simulation->addDetailNode(properties);
        }
    }
    runFrames(state);
    simulation->closeVisualization();
}
BENCHMARK(BM_Frame10000Cubes)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

}  // namespace
