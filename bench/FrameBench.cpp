// Whole frames of the 3D view at 800x600 with the console closed: the grid, the scene graph culled by the
// camera's frustum and the cells of "life", then the button strip and the buffer swap. One iteration is
// one frame, timed until glFinish returns; the median over the frames is reported as "median_ms".
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "control/VCModelList.h"
#include "control/VCSimulation.h"
#include "gui/VDEvent.h"
#include "gui/VDTheme.h"
#include "gui/VDThemeStore.h"
#include "shell/EngineVariables.h"
#include "shell/PropertySet.h"
#include "simdata/SDCELLDevsModel.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

void noDisplay() {}

// One GLUT window for the whole run, with the program's display mode and size.
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
        open = createThemeStore() && createSimulation() != nullptr;
    }
    return open;
}

// The frame as the main window draws it with the console closed.
void drawFrame(VDTessaronerWindow& window) {
    VDTheme* theme = currentTheme();
    glDisable(GL_DEPTH_TEST);
    theme->clearScreen();
    theme->begin2D(800, 600);
    VDRedisplayEvent redisplay;
    window.handleEvent(&redisplay);
    theme->end2D();
    glutSwapBuffers();
}

void runFrames(benchmark::State& state) {
    VDTessaronerWindow window;
    window.setRectangle(VDRect(0, 0, 800, 600));
    window.initialise();
    drawFrame(window);  // first frame: cell storage and cubes are built here
    glFinish();
    std::vector<double> frames;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        drawFrame(window);
        glFinish();
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        frames.push_back(elapsed.count() * 1000.0);
    }
    std::sort(frames.begin(), frames.end());
    state.counters["median_ms"] = frames[frames.size() / 2];
}

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
BENCHMARK(BM_FrameLife100x100)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_Frame10000Cubes)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

}  // namespace
