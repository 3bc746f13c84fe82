// Whole frames at 800x600 with the console closed, as the display callback draws them: the main window
// clears, the viewer window draws the grid, the scene graph culled by the camera's frustum and the cells of
// "life", then the button strip, and the main window swaps the buffers. One iteration is one frame, timed
// until glFinish returns; the median over the frames is reported as "median_ms", and the CPU time of all
// threads per frame as "cpu_ms".
//
// The argument says whether multisampling stays on (1, as the program runs: the window asks for a
// multisample visual) or is switched off with glDisable(GL_MULTISAMPLE) (0), to show what it costs.
//
// "draw_calls" is the number of GL draw calls the cells took per frame (counted by the batches), and
// "first_ms" the wall time of the first frame, in which the cells' buffers are built and coloured.
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "console/VDDEVSConsoleParser.h"
#include "console/VDDEVSFitViewEvent.h"
#include "control/VCCellView.h"
#include "control/VCModelList.h"
#include "control/VCModelView.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "gui/VDEvent.h"
#include "gui/VDKey.h"
#include "gui/VDMainWindow.h"
#include "gui/VDThemeStore.h"
#include "scene/SDCellBatch.h"
#include "shell/EngineVariables.h"
#include "shell/MemoryReuse.h"
#include "shell/PropertySet.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"
#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

void noDisplay() {}

// The program's window and process-wide objects, built once for the whole run as start-up builds them,
// with the console closed and both log channels off.
bool openWindow() {
    static bool open = false;
    if (!open) {
        // As the program does at start-up: the driver's memory for each frame's text is reused.
        keepFreedMemoryForReuse();
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

VDTessaronerWindow* viewer() {
    return dynamic_cast<VDTessaronerWindow*>(getMainWindow()->getContentWindow());
}

// The camera as start-up leaves it: at (0, 1, 1) looking along -Z.
void startCamera() {
    auto* camera = dynamic_cast<VDFirstPersonCamera*>(viewer()->getCamera());
    camera->setAngles(0.0f, 0.0f, 0.0f);
    camera->setPosition(Vector3(0.0f, 1.0f, 1.0f));
    camera->setFarPlane(1000.0f);
}

// As vis_fit does it: every drawn model in view, from the front and a little above.
void fitCamera() {
    VCCellView* cells = getSimulation()->getCellView();
    cells->updateLayout();
    BoundingBox box;
    if (cells->getBounds(box)) {
        VDDEVSFitViewEvent fit(box);
        viewer()->handleEvent(&fit);
    }
}

long residentMegabytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * 4096 / (1024 * 1024);
}

long peakResidentMegabytes() {
    struct rusage usage;
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void runFrames(benchmark::State& state, bool multisampled) {
    if (!multisampled) {
        glDisable(GL_MULTISAMPLE);
    } else {
        glEnable(GL_MULTISAMPLE);
    }
    auto firstStart = std::chrono::steady_clock::now();
    drawFrame();  // first frame: the cells' buffers are built and coloured here
    glFinish();
    std::chrono::duration<double> first = std::chrono::steady_clock::now() - firstStart;
    std::vector<double> frames;
    SDCellBatch::resetDrawCallCount();
    const double cpuStart = processCpuMs();
    for (auto _ : state) {
        // Each frame draws the scene afresh, as after a step of time or a turn of the camera: the picture
        // kept from the frame before is not reused.
        getSimulation()->sceneChanged();
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
    state.counters["first_ms"] = first.count() * 1000.0;
    state.counters["draw_calls"] =
        static_cast<double>(SDCellBatch::drawCallCount()) / static_cast<double>(frames.size());
    state.counters["indices"] =
        static_cast<double>(SDCellBatch::indexCount()) / static_cast<double>(frames.size());
}

// With the argument 0, multisampling off; the program runs with it on.
void runFrames(benchmark::State& state) {
    runFrames(state, state.range(0) != 0);
}

// Registers a Cell-DEVS record of those counts, as an import leaves it; with `values`, every cell holds
// a value of a smooth field over the whole range, as a heat run does at some time.
SDCELLDevsModel* addCellSpace(const char* name, unsigned width, unsigned height, unsigned length,
                              bool values) {
    auto record = std::make_unique<SDCELLDevsModel>();
    record->setName(name);
    record->ensureCell(width - 1, height - 1, length - 1);
    SDCELLDevsModel* model = record.get();
    if (getSimulation()->getModelList()->addModel(model)) {
        record.release();  // the registry owns it now
    }
    // The time cursor numbers the new model's cells and starts them empty: the values are set after
    // that, or the first frame would clear them and every later frame draw a block hidden whole.
    if (SDTimeCursor* cursor = getVisualization()->getCursor()) {
        cursor->sync();
    }
    if (values) {
        SDCellValues& cells = model->getValues();
        size_t cell = 0;
        for (unsigned x = 0; x < width; ++x) {
            for (unsigned y = 0; y < height; ++y) {
                for (unsigned z = 0; z < length; ++z) {
                    const double value = std::sin(x * 0.1) * std::cos(y * 0.07) + 0.01 * z;
                    cells.widenRange(value);
                    cells.set(cell++, value, 0);
                }
            }
        }
    }
    return model;
}

// A window with a new visualization holding one cell space "heat" of those counts, its cells valued, seen
// whole as vis_fit shows it; false (the benchmark skipped) without a GL window.
bool openCellSpace(benchmark::State& state, unsigned width, unsigned height, unsigned length,
                   SDCELLDevsModel** made = nullptr) {
    if (!openWindow()) {
        state.SkipWithError("no GL window");
        return false;
    }
    getSimulation()->newVisualization("bench.vis");
    SDCELLDevsModel* model = addCellSpace("heat", width, height, length, true);
    if (made != nullptr) {
        *made = model;
    }
    fitCamera();
    return true;
}

// No visualization: the grid and the button strip alone.
void BM_FrameEmpty(benchmark::State& state) {
    if (!openWindow()) {
        state.SkipWithError("no GL window");
        return;
    }
    startCamera();
    runFrames(state);
}
BENCHMARK(BM_FrameEmpty)->Arg(1)->Arg(0)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

// The "life" cell space of 100 x 100 cells, as an import of a 100 x 100 run leaves it (no values yet:
// every cell has the cube's own colour).
void BM_FrameLife100x100(benchmark::State& state) {
    if (!openWindow()) {
        state.SkipWithError("no GL window");
        return;
    }
    startCamera();
    VCSimulation* simulation = getSimulation();
    simulation->newVisualization("bench.vis");
    addCellSpace("life", 100, 100, 1, false);
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
    startCamera();
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

// The cells of a 100 x 100 life alone, without the rest of the frame, seen from the start camera: drawn one
// cube at a time as the record draws itself (0), and as the view draws them, in one batch (1). Each
// iteration clears, draws and waits for glFinish; the GL state is the 3D pass's.
void BM_CellsOfLife100x100(benchmark::State& state) {
    if (!openWindow()) {
        state.SkipWithError("no GL window");
        return;
    }
    startCamera();
    VDCamera* camera = viewer()->getCamera();
    VCSimulation* simulation = getSimulation();
    simulation->newVisualization("bench.vis");
    SDCELLDevsModel* life = addCellSpace("life", 100, 100, 1, false);
    life->arrange(Vector3(0.0f, 0.0f, -5.0f), 20.0f, 20.0f, 20.0f);
    auto drawCells = [&] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixd(camera->getProjectionMatrix());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(camera->getViewMatrix());
        glEnable(GL_DEPTH_TEST);
        if (state.range(0) == 0) {
            life->drawCells();
        } else {
            simulation->render(nullptr);
        }
        glFinish();
    };
    drawCells();
    std::vector<double> frames;
    const double cpuStart = processCpuMs();
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        drawCells();
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        frames.push_back(elapsed.count() * 1000.0);
    }
    std::sort(frames.begin(), frames.end());
    state.counters["median_ms"] = frames[frames.size() / 2];
    state.counters["cpu_ms"] = (processCpuMs() - cpuStart) / static_cast<double>(frames.size());
    simulation->closeVisualization();
}
BENCHMARK(BM_CellsOfLife100x100)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);

// A 100 x 100 x 10 cell space (100,000 cells, every one shown, coloured by the ramp), seen whole as
// vis_fit shows it.
void BM_Frame100x100x10(benchmark::State& state) {
    if (!openCellSpace(state, 100, 100, 10)) {
        return;
    }
    VCSimulation* simulation = getSimulation();
    runFrames(state);
    state.counters["buffer_bytes_per_cell"] =
        static_cast<double>(simulation->getCellView()->getBufferBytes()) / 100000.0;
    simulation->closeVisualization();
    startCamera();
}
BENCHMARK(BM_Frame100x100x10)->Arg(1)->Arg(0)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

// A million cells (100 x 100 x 100, coloured by the ramp), seen whole: the first frame builds and colours
// the buffers. Run alone for the memory figures (--benchmark_filter=Million): peak_rss_MB is the whole
// process's peak resident memory, rss_before_MB and rss_after_MB the resident memory before the first frame
// and after the last.
void BM_FrameMillionCells(benchmark::State& state) {
    if (!openCellSpace(state, 100, 100, 100)) {
        return;
    }
    VCSimulation* simulation = getSimulation();
    // Resident before the first frame: the cell space and its values, no drawing data yet.
    state.counters["rss_before_MB"] = static_cast<double>(residentMegabytes());
    runFrames(state);
    state.counters["rss_after_MB"] = static_cast<double>(residentMegabytes());
    state.counters["buffer_bytes_per_cell"] =
        static_cast<double>(simulation->getCellView()->getBufferBytes()) / 1000000.0;
    state.counters["peak_rss_MB"] = static_cast<double>(peakResidentMegabytes());
    simulation->closeVisualization();
    startCamera();
}
BENCHMARK(BM_FrameMillionCells)->Arg(1)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// A step over the million cells of BM_FrameMillionCells, then its frame: before each frame, the cells of
// one layer along x (10,000, a different layer each time) take new values within the run's range, as a
// step of the time cursor over a heat run hands them to the view through the values' list of changes. Only
// those cells are recoloured; the faces stay, as no cell is hidden or shown.
void BM_StepMillionCells(benchmark::State& state) {
    SDCELLDevsModel* heat = nullptr;
    if (!openCellSpace(state, 100, 100, 100, &heat)) {
        return;
    }
    VCSimulation* simulation = getSimulation();
    unsigned step = 0;
    drawFrame();  // the buffers built and coloured once, as after the import
    glFinish();
    SDCellBatch::resetDrawCallCount();
    std::vector<double> frames;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        SDCellValues& values = heat->getValues();
        const unsigned x = step++ % 100;
        for (unsigned y = 0; y < 100; ++y) {
            for (unsigned z = 0; z < 100; ++z) {
                const double value = std::sin(x * 0.1 + step * 0.05) * std::cos(y * 0.07) + 0.01 * z;
                values.set((static_cast<size_t>(x) * 100 + y) * 100 + z, std::max(-1.0, std::min(1.0, value)),
                           step);
            }
        }
        simulation->sceneChanged();  // as a step of the cursor says it
        drawFrame();
        glFinish();
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        frames.push_back(elapsed.count() * 1000.0);
    }
    std::sort(frames.begin(), frames.end());
    state.counters["median_ms"] = frames[frames.size() / 2];
    state.counters["indices"] =
        static_cast<double>(SDCellBatch::indexCount()) / static_cast<double>(frames.size());
    simulation->closeVisualization();
    startCamera();
}
BENCHMARK(BM_StepMillionCells)->Arg(1)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// The million cells with a colour rule of alpha 0 over the values above 0.5: half of them (50.9 %) hidden,
// in regions the smooth field makes, and the faces around those holes drawn.
void BM_FrameMillionCellsHiddenByRule(benchmark::State& state) {
    SDCELLDevsModel* heat = nullptr;
    if (!openCellSpace(state, 100, 100, 100, &heat)) {
        return;
    }
    VCSimulation* simulation = getSimulation();
    heat->getLook().addRule(heat->getRules(), 0.5, 10.0, {0.0f, 0.0f, 0.0f, 0.0f});
    runFrames(state, true);
    state.counters["shown"] = static_cast<double>(simulation->getCellView()->getShownCount("heat"));
    state.counters["buffer_bytes_per_cell"] =
        static_cast<double>(simulation->getCellView()->getBufferBytes()) / 1000000.0;
    simulation->closeVisualization();
    startCamera();
}
BENCHMARK(BM_FrameMillionCellsHiddenByRule)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// The largest cell space a model may hold, 256 x 256 x 256 (16,777,216 cells, valued), drawn solid and
// seen whole. Run alone for its peak resident memory (--benchmark_filter=LargestSpace): most of it is the
// cells' records and values (rss_before_MB), not drawing data.
void BM_FrameLargestSpace(benchmark::State& state) {
    if (!openCellSpace(state, 256, 256, 256)) {
        return;
    }
    VCSimulation* simulation = getSimulation();
    state.counters["rss_before_MB"] = static_cast<double>(residentMegabytes());
    runFrames(state, true);
    state.counters["buffer_bytes_per_cell"] =
        static_cast<double>(simulation->getCellView()->getBufferBytes()) / 16777216.0;
    state.counters["peak_rss_MB"] = static_cast<double>(peakResidentMegabytes());
    simulation->closeVisualization();
    startCamera();
}
BENCHMARK(BM_FrameLargestSpace)->Arg(1)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// One layer of the million cells shown (vis_slice along x, y or z: the argument), the rest hidden, seen
// whole. Along z the shown cells lie furthest apart in the order they are stored.
void BM_FrameMillionCellsSlice(benchmark::State& state) {
    if (!openCellSpace(state, 100, 100, 100)) {
        return;
    }
    VCSimulation* simulation = getSimulation();
    simulation->getCellView()->setSlice("heat", static_cast<int>(state.range(0)), 50);
    runFrames(state, true);
    simulation->closeVisualization();
    startCamera();
}
BENCHMARK(BM_FrameMillionCellsSlice)
    ->Arg(0)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// The frame that answers a key typed into the open console over the million cells of BM_FrameMillionCells:
// the scene is unchanged, so the 3D picture kept from the first frame is drawn again and only the console
// and the strip are drawn afresh. "reused" is the share of frames drawn from the kept picture. With the
// argument 0 the visualization is empty: the same frame with nothing behind the console.
void BM_KeyOverMillionCells(benchmark::State& state) {
    if (!openWindow()) {
        state.SkipWithError("no GL window");
        return;
    }
    VCSimulation* simulation = getSimulation();
    simulation->newVisualization("bench.vis");
    if (state.range(0) == 1) {
        addCellSpace("heat", 100, 100, 100, true);
    }
    fitCamera();
    getConsole()->open();
    drawFrame();  // the cells' buffers are built and the picture kept
    glFinish();
    const uint64_t reusedBefore = viewer()->getKeptPicture().reuseCount();
    std::vector<double> frames;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        VDKeyDownEvent key(VDKey('a'));
        getMainWindow()->handleEvent(&key);
        drawFrame();
        glFinish();
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        frames.push_back(elapsed.count() * 1000.0);
    }
    std::sort(frames.begin(), frames.end());
    state.counters["median_ms"] = frames[frames.size() / 2];
    state.counters["reused"] = static_cast<double>(viewer()->getKeptPicture().reuseCount() - reusedBefore) /
                               static_cast<double>(frames.size());
    getConsole()->close();
    simulation->closeVisualization();
    startCamera();
}
BENCHMARK(BM_KeyOverMillionCells)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);

// The open console full of text over an empty visualization, as during an import with the console channel
// on: a thousand lines of 100 characters, as many of them drawn as the console shows.
void BM_FrameConsoleFull(benchmark::State& state) {
    if (!openWindow()) {
        state.SkipWithError("no GL window");
        return;
    }
    startCamera();
    getConsole()->open();
    std::string line;
    for (int i = 0; i < 100; ++i) {
        line.push_back(static_cast<char>('!' + i % 90));
    }
    for (int i = 0; i < 1000; ++i) {
        getConsole()->print(line);
    }
    runFrames(state);
    getConsole()->close();
}
BENCHMARK(BM_FrameConsoleFull)->Arg(1)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

// Frames of a generated plain DEVS run, imported with both log channels off, fitted as vis_fit fits it, at
// `time` (or the middle event time when negative). Each frame colours every block by its state at that
// time and draws the blocks, ports and arrows; the overlay writes the names and labels that fit.
void framePlainModels(benchmark::State& state, const char* log, double time) {
    if (!openWindow()) {
        state.SkipWithError("no GL window");
        return;
    }
    VCSimulation* simulation = getSimulation();
    simulation->newVisualization("bench.vis");
    if (!simulation->importLogFile(log)) {
        state.SkipWithError("the generated log could not be read");
        simulation->closeVisualization();
        return;
    }
    simulation->timeGoto(time >= 0.0 ? time : simulation->timeAt(simulation->timeCount() / 2));
    VCModelView* models = simulation->getModelView();
    models->updateLayout();
    BoundingBox box;
    if (models->getBounds(box)) {
        VDDEVSFitViewEvent fit(box);
        viewer()->handleEvent(&fit);
    }
    runFrames(state);
    state.counters["blocks"] = static_cast<double>(models->getBlockNames().size());
    simulation->closeVisualization();
    startCamera();
}

// The generated run of 100 atomic models (devslog --depth 2 --fanout 10: top, 10 coupled models, 111 in
// all) at 00:01:40:010, step 1000's answer: its path active, four arrows.
void BM_FramePlainModels100(benchmark::State& state) {
    framePlainModels(state, TESS_DEVS_LOG_100, 100010.0);
}
BENCHMARK(BM_FramePlainModels100)->Arg(1)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

// The generated run of 1,000 atomic models (devs_log_1000: top and three levels of 10, 1,111 models) at its
// middle event time.
void BM_FramePlainModels1000(benchmark::State& state) {
    framePlainModels(state, TESS_DEVS_LOG_1000, -1.0);
}
BENCHMARK(BM_FramePlainModels1000)->Arg(1)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace
