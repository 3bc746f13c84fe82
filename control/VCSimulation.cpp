#include "control/VCSimulation.h"

#include <cmath>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "control/VCCellView.h"
#include "control/VCEventList.h"
#include "control/VCImportHost.h"
#include "control/VCLogImport.h"
#include "control/VCModelFileImport.h"
#include "control/VCModelFileLink.h"
#include "control/VCModelList.h"
#include "control/VCModelView.h"
#include "control/VCScenarioField.h"
#include "control/VCSceneGraph.h"
#include "control/VCSimulationLink.h"
#include "control/VCStateField.h"
#include "scene/SDDetailNodeCUBE.h"
#include "scene/Vector3.h"
#include "shell/ConsoleChannel.h"
#include "shell/Log.h"
#include "shell/PropertySet.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDCouplings.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDModelStructure.h"
#include "simdata/SDTime.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"

namespace {

// Raw owning pointers on purpose: the objects log as they go, so they must not be destroyed at exit after
// the log's own statics. Only destroyVisualization and destroySimulation delete them.
SDVisualization* g_visualization = nullptr;
VCSimulation* g_simulation = nullptr;

// An absent property reads as 0.
float floatProperty(const PropertySet& properties, const char* name) {
    float value = 0.0f;
    properties.getFloat(name, &value);
    return value;
}

// Moves the open visualization's cursor and reports a change of time through the controller's hooks.
template <class Move>
bool moveCursor(VCSimulation& simulation, Move move) {
    SDVisualization* visualization = getVisualization();
    if (visualization == nullptr) {
        return false;
    }
    SDTimeCursor& cursor = *visualization->getCursor();
    simulation.sceneChanged();
    const double before = cursor.time();
    if (!move(cursor)) {
        return false;
    }
    if (cursor.time() > before) {
        simulation.incrementTime(cursor.time());
    } else {
        simulation.decrementTime(cursor.time());
    }
    return true;
}

}  // namespace

SDVisualization* createVisualization() {
    if (g_visualization == nullptr) {
        g_visualization = new (std::nothrow) SDVisualization();
    }
    return g_visualization;
}

SDVisualization* getVisualization() {
    return g_visualization;
}

void destroyVisualization() {
    // Emptied before the delete, so nothing reached from the destructor sees a dying visualization.
    SDVisualization* visualization = g_visualization;
    g_visualization = nullptr;
    delete visualization;
}

VCSimulation* createSimulation() {
    if (g_simulation == nullptr) {
        g_simulation = new (std::nothrow) VCSimulation();
    }
    return g_simulation;
}

VCSimulation* getSimulation() {
    return g_simulation;
}

void destroySimulation() {
    VCSimulation* simulation = g_simulation;
    g_simulation = nullptr;
    delete simulation;
}

VCSimulation::VCSimulation() = default;

VCImportHost::~VCImportHost() = default;

VCSimulation::~VCSimulation() {
    // Nothing is left to tell: an import still running ends with the visualization.
    m_importHost.reset();
    if (getVisualization() != nullptr) {
        closeVisualization();
    }
}

bool VCSimulation::newVisualization(const std::string& name) {
    if (getVisualization() != nullptr) {
        consolePrint("Cannot create new visualization. Please close open visualization first");
        return false;
    }
    m_visualization = createVisualization();
    m_visualization->setName(name);
    m_eventList = std::make_unique<VCEventList>(m_visualization->getEventList());
    m_modelList = std::make_unique<VCModelList>(m_visualization->getModelList());
    m_sceneGraph = std::make_unique<VCSceneGraph>(m_visualization->getSceneGraph());
    m_cellView = std::make_unique<VCCellView>(m_visualization->getModelList());
    m_cellView->setOutlined(m_cellOutlines);
    m_cellView->setCursor(m_visualization->getCursor());
    m_cellView->setChangesShown(m_changeOutlines);
    ++m_runRevision;
    sceneChanged();
    m_modelView =
        std::make_unique<VCModelView>(m_visualization->getStructure(), m_visualization->getModelList(),
                                      m_visualization->getCursor(), m_cellView.get());
    m_modelView->setCouplings(m_visualization->getCouplings());
    m_modelView->setChangesShown(m_changeOutlines);
    return true;
}

void VCSimulation::setChangeOutlines(bool on) {
    m_changeOutlines = on;
    if (m_cellView != nullptr) {
        m_cellView->setChangesShown(on);
    }
    if (m_modelView != nullptr) {
        m_modelView->setChangesShown(on);
    }
    sceneChanged();
}

void VCSimulation::setCellOutlines(bool on) {
    m_cellOutlines = on;
    if (m_cellView != nullptr) {
        m_cellView->setOutlined(on);
    }
}

void VCSimulation::closeVisualization() {
    if (getVisualization() == nullptr) {
        return;
    }
    // No step may fall due on a closed visualization, and the import reads into the views.
    stopPlayback();
    cancelImport();
    // The views go first: they point into the visualization.
    m_modelView.reset();
    m_cellView.reset();
    m_eventList.reset();
    m_modelList.reset();
    m_sceneGraph.reset();
    destroyVisualization();
    m_visualization = nullptr;
    ++m_runRevision;
    sceneChanged();
}

bool VCSimulation::importLogFile(const std::string& path) {
    if (!beginImport(path)) {
        return false;
    }
    m_import->readAll();
    return endImport(false);
}

bool VCSimulation::startImport(const std::string& path) {
    return beginImport(path) && runImport();
}

bool VCSimulation::runImport() {
    if (m_importHost == nullptr) {
        m_import->readAll();
        return endImport(false);
    }
    m_importSliced = true;
    m_importHost->importStarted();
    return true;
}

bool VCSimulation::continueImport(double milliseconds) {
    if (m_import == nullptr) {
        return false;
    }
    sceneChanged();
    if (m_import->readFor(milliseconds)) {
        return true;
    }
    endImport(false);
    return false;
}

bool VCSimulation::cancelImport() {
    if (m_import == nullptr) {
        return false;
    }
    endImport(true);
    return true;
}

VCImportProgress VCSimulation::getImportProgress() const {
    return m_import != nullptr ? m_import->progress() : m_lastProgress;
}

void VCSimulation::whenImportEnds(std::function<void()> then) {
    if (m_import == nullptr) {
        then();
        return;
    }
    m_whenImportEnds.push_back(std::move(then));
}

void VCSimulation::setImportHost(std::unique_ptr<VCImportHost> host) {
    m_importHost = std::move(host);
}

bool VCSimulation::beginImport(const std::string& path) {
    ++m_importCount;
    if (getVisualization() == nullptr) {
        m_importFailure = "Unable to import from log file: no visualization currently exists.";
        logText(m_importFailure);
        return false;
    }
    if (auto* running = dynamic_cast<VCLogImport*>(m_import.get())) {
        // The running import's link refuses it, as a link refuses any second load.
        running->link().beginLogFile(path);
        return false;
    }
    if (m_import != nullptr) {
        m_importFailure = "Unable to import from log file while a model file is being imported";
        logText(m_importFailure);
        return false;
    }
    // The run is about to change under the cursor.
    stopPlayback();
    m_importCancelled = false;
    auto import = std::make_unique<VCLogImport>(m_modelList.get(), m_eventList.get(), path,
                                                m_visualization->getStructure(), m_importClock);
    import->link().setStateTexts(m_visualization->getStateTexts());
    m_import = std::move(import);
    if (!m_import->begin()) {
        endImport(false);
        return false;
    }
    return true;
}

std::vector<std::string> VCSimulation::chooseField(const std::string& model, int field) {
    SDVisualization* visualization = getVisualization();
    if (visualization == nullptr) {
        return {"Unable to choose a field. Visualization does not exist."};
    }
    // A space a scenario set up starts from the same number of its scenario states.
    bool initial = false;
    if (m_fieldHook != nullptr) {
        initial = m_fieldHook(model, field);
    } else if (field >= 0) {
        if (auto* cells = dynamic_cast<SDCELLDevsModel*>(visualization->getModelList()->findModel(model))) {
            initial = applyScenarioField(*cells, static_cast<size_t>(field));
        }
    }
    VCStateField::Outcome outcome = VCStateField::choose(*visualization, model, field, initial);
    if (outcome.done) {
        // The cells' values and the colour range follow at once, not at the next move in time.
        visualization->getCursor()->sync();
        ++m_runRevision;
        sceneChanged();
    }
    return std::move(outcome.lines);
}

bool VCSimulation::endImport(bool cancelled) {
    // Taken out first: whoever hears of the end may start the next import.
    std::unique_ptr<VCImport> import = std::move(m_import);
    const bool sliced = m_importSliced && m_importHost != nullptr;
    m_importSliced = false;
    const bool whole = import->end();
    m_lastProgress = import->progress();
    m_importCancelled = cancelled && !whole;
    if (m_importCancelled) {
        m_importFailure = import->cancelledText(m_lastProgress.lines);
        logText(m_importFailure);
    } else {
        m_importFailure = import->failure();
    }
    if (const auto* modelFile = dynamic_cast<const VCModelFileImport*>(import.get())) {
        m_modelFileErrors = modelFile->errors();
    }
    if (SDVisualization* visualization = getVisualization()) {
        VCStateField::follow(*visualization);
        visualization->getCursor()->sync();
        // The models' histories are indexed once, here, so that no later answer (vis_model, a frame of the
        // hierarchy) waits for it.
        visualization->getStructure()->history();
    }
    ++m_runRevision;
    sceneChanged();
    std::vector<std::function<void()>> then;
    then.swap(m_whenImportEnds);
    for (const std::function<void()>& step : then) {
        step();
    }
    if (sliced) {
        m_importHost->importEnded();
    }
    return whole;
}

bool VCSimulation::importModelFile(const std::string& path) {
    if (!beginModelFile(path)) {
        return false;
    }
    m_import->readAll();
    return endImport(false);
}

bool VCSimulation::startModelFile(const std::string& path) {
    return beginModelFile(path) && runImport();
}

bool VCSimulation::beginModelFile(const std::string& path) {
    ++m_importCount;
    m_modelFileErrors.clear();
    if (getVisualization() == nullptr) {
        m_importFailure = "Unable to import from model file: no visualization currently exists.";
        logText(m_importFailure);
        return false;
    }
    if (m_import != nullptr) {
        m_importFailure = dynamic_cast<VCLogImport*>(m_import.get()) != nullptr
                              ? "Unable to import from model file while a log file is being imported"
                              : "Unable to import from model file while another one is being imported";
        logText(m_importFailure);
        return false;
    }
    m_importCancelled = false;
    m_import = std::make_unique<VCModelFileImport>(*m_visualization->getModelList(),
                                                   *m_visualization->getCouplings(), path, m_importClock);
    if (!m_import->begin()) {
        endImport(false);
        return false;
    }
    return true;
}

int VCSimulation::addDetailNode(const PropertySet& properties) {
    if (m_sceneGraph == nullptr) {
        logMessage("No scene graph created.");
        return -1;
    }
    std::string type;
    properties.getString("type", &type);
    if (type != "CUBE") {
        return -1;
    }
    auto cube = std::make_unique<SDDetailNodeCUBE>();
    cube->setPosition(Vector3(floatProperty(properties, "position_x"),
                              floatProperty(properties, "position_y"),
                              floatProperty(properties, "position_z")));
    cube->setSize(floatProperty(properties, "size"));
    sceneChanged();
    return m_sceneGraph->addNode(std::move(cube));
}

void VCSimulation::render(Frustum* frustum) {
    if (m_sceneGraph != nullptr) {
        m_sceneGraph->render(frustum);
    }
    if (m_cellView != nullptr) {
        m_cellView->render(frustum);
    }
    if (m_modelView != nullptr) {
        m_modelView->render(frustum);
    }
}

void VCSimulation::incrementTime(double time) {
    sceneChanged();
    if (SDVisualization* visualization = getVisualization()) {
        visualization->timeIncremented(SDTime(time));
    }
}

void VCSimulation::decrementTime(double time) {
    sceneChanged();
    if (SDVisualization* visualization = getVisualization()) {
        visualization->timeDecremented(SDTime(time));
    }
}

bool VCSimulation::timeNext() {
    return moveCursor(*this, [](SDTimeCursor& cursor) { return cursor.next(); });
}

bool VCSimulation::timePrevious() {
    return moveCursor(*this, [](SDTimeCursor& cursor) { return cursor.previous(); });
}

bool VCSimulation::timeFirst() {
    return moveCursor(*this, [](SDTimeCursor& cursor) { return cursor.first(); });
}

bool VCSimulation::timeLast() {
    return moveCursor(*this, [](SDTimeCursor& cursor) { return cursor.last(); });
}

bool VCSimulation::timeGoto(double milliseconds) {
    return moveCursor(*this, [milliseconds](SDTimeCursor& cursor) { return cursor.goTo(milliseconds); });
}

double VCSimulation::currentTime() const {
    const SDVisualization* visualization = getVisualization();
    return visualization == nullptr ? 0.0 : visualization->getCursor()->time();
}

size_t VCSimulation::timeCount() {
    SDVisualization* visualization = getVisualization();
    return visualization == nullptr ? 0 : visualization->getCursor()->timeCount();
}

double VCSimulation::timeAt(size_t index) {
    SDVisualization* visualization = getVisualization();
    return visualization == nullptr ? 0.0 : visualization->getCursor()->timeAt(index);
}

long VCSimulation::currentTimeIndex() {
    SDVisualization* visualization = getVisualization();
    return visualization == nullptr ? -1 : visualization->getCursor()->currentTimeIndex();
}

bool VCSimulation::canPlay() {
    SDVisualization* visualization = getVisualization();
    return visualization != nullptr && visualization->getCursor()->canPlay();
}

bool VCSimulation::nearestEventTime(double milliseconds, double& nearest) {
    const size_t count = timeCount();
    if (count == 0 || std::isnan(milliseconds)) {
        return false;
    }
    // The first event time after the wanted one, then whichever of it and the one before is nearer.
    size_t low = 0;
    size_t high = count;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (timeAt(middle) <= milliseconds) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == count) {
        nearest = timeAt(count - 1);
    } else if (low == 0) {
        nearest = timeAt(0);
    } else {
        const double after = timeAt(low);
        const double before = timeAt(low - 1);
        nearest = after - milliseconds < milliseconds - before ? after : before;
    }
    return true;
}

bool VCSimulation::play(double stepsPerSecond) {
    // A run whose only event time is the start has no step to take.
    SDVisualization* visualization = getVisualization();
    if (visualization == nullptr || !visualization->getCursor()->hasTimesToPlay()) {
        logMessage("Nothing to play");
        return false;
    }
    if (m_playback.getTimer() == nullptr) {
        logMessage("Unable to play: the program has no timer for playback");
        return false;
    }
    if (!m_playback.isPlaying() && !canPlay()) {
        timeFirst();
    }
    if (!m_playback.start(stepsPerSecond)) {
        logMessage("Unable to play at %g steps per second", stepsPerSecond);
        return false;
    }
    m_rateChosen = true;
    logMessage("Playing at %g steps per second", stepsPerSecond);
    return true;
}

bool VCSimulation::play() {
    if (m_rateChosen) {
        return play(m_playback.getRate());
    }
    // Until a rate is given, one that suits the run: its steps from the start, which is a step of its own
    // unless an event happens at 0.
    const size_t times = timeCount();
    size_t below = 0;
    size_t above = times;
    while (below < above) {
        const size_t middle = below + (above - below) / 2;
        if (timeAt(middle) < 0.0) {
            below = middle + 1;
        } else {
            above = middle;
        }
    }
    const bool startIsEventTime = below < times && timeAt(below) == 0.0;
    const size_t steps = startIsEventTime ? times - 1 : times;
    const bool started = play(VCPlayback::defaultRate(steps));
    m_rateChosen = false;
    return started;
}

bool VCSimulation::stopPlayback() {
    if (!m_playback.stop()) {
        return false;
    }
    logMessage("Playback stopped at %s", SDTime(currentTime()).toString().c_str());
    return true;
}

bool VCSimulation::playbackTimerFired(unsigned token) {
    if (!m_playback.isDue(token) || getVisualization() == nullptr) {
        return false;
    }
    timeNext();
    if (canPlay()) {
        m_playback.stepTaken();
    } else {
        m_playback.stop();
        logMessage("Playback finished at %s", SDTime(currentTime()).toString().c_str());
    }
    return true;
}
