#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "control/VCImportProgress.h"
#include "control/VCPlayback.h"

class Frustum;
class VCImport;
class VCImportHost;
class PropertySet;
class VCCellView;
class VCModelView;
class SDVisualization;
class VCEventList;
class VCModelList;
class VCSceneGraph;

// The one controller between the user's commands and the simulation data: it opens and closes the
// current visualization, runs log imports into it, adds detail nodes and draws it once per frame.
class VCSimulation {
  public:
    VCSimulation();
    VCSimulation(const VCSimulation&) = delete;
    VCSimulation& operator=(const VCSimulation&) = delete;
    // Closes an open visualization.
    virtual ~VCSimulation();

    // Opens a visualization of that name. Refused (printed into the console, nothing changes) while one
    // is open.
    bool newVisualization(const std::string& name);
    // Deletes the open visualization with everything it holds, stopping playback and ending a running
    // import first; nothing happens when none is open.
    void closeVisualization();
    // Imports a simulation log into the open visualization, all of it before returning, stopping playback
    // first. What was added before a failure stays. The cells' values are brought up to date for the
    // current time, which stays where it was. Refused (with the link's message) while a sliced import runs.
    bool importLogFile(const std::string& path);
    // The log line that said why the last import failed (or "Import cancelled after N lines"); empty
    // after one that did not.
    const std::string& getImportFailure() const { return m_importFailure; }

    // The same import read in slices, so that the program's loop can draw and read input in between.
    // Without a host the whole file is read now, as importLogFile does. With one, the file is opened, the
    // host is told, and nothing more happens until the host calls continueImport. False when the import
    // is over already: refused, not opened, or (without a host) not read whole.
    bool startImport(const std::string& path);
    // Reads for about `milliseconds`. False once the import has ended; the host has then been told.
    bool continueImport(double milliseconds);
    // Ends a running import where it stands: what was read stays, the time cursor and the cells show it,
    // and "Import cancelled after N lines" is logged. False when none runs.
    bool cancelImport();
    bool isImporting() const { return m_import != nullptr; }
    // Runs `then` once the running import has ended, after its last log line (at once when none runs).
    void whenImportEnds(std::function<void()> then);
    // The running import's progress, or the last one's as it ended.
    VCImportProgress getImportProgress() const;
    // Whether the last import ended by cancelImport.
    bool wasImportCancelled() const { return m_importCancelled; }
    // Grows by one whenever an import is asked for, of a log or a model file, whether it begins or is
    // refused: compared before and after a command, it tells whether the command asked for one, whose
    // outcome getImportFailure says once it has ended.
    uint64_t getImportCount() const { return m_importCount; }
    void setImportHost(std::unique_ptr<VCImportHost> host);
    // Where imports read their elapsed time from, and so when their progress is worth showing (the steady
    // clock by default); for tests that decide it themselves.
    void setImportClock(VCImportClock clock) { m_importClock = std::move(clock); }
    VCImportHost* getImportHost() const { return m_importHost.get(); }
    // Adds a cube built from "type" (must be "CUBE"), "position_x", "position_y", "position_z" and "size"
    // to the scene graph; its index there, or -1.
    int addDetailNode(const PropertySet& properties);
    // Draws the scene graph culled by the frustum, then the cells of every Cell-DEVS model (see
    // VCCellView), then the models' hierarchy (see VCModelView). Draws nothing while no visualization is
    // open.
    void render(Frustum* frustum);
    // Report a move of the time cursor to the open visualization (in milliseconds). They only log.
    void incrementTime(double time);
    void decrementTime(double time);

    // The time cursor of the open visualization. It stands at the start (00:00:00:000) or at an event
    // time. A move that changes the time reports it through incrementTime or decrementTime and answers
    // true; one that cannot (past either end, nothing open) changes nothing and answers false.
    bool timeNext();
    bool timePrevious();
    bool timeFirst();
    bool timeLast();
    // To the latest time at or before `milliseconds` that the cursor can stand at, or to the first one.
    bool timeGoto(double milliseconds);
    // The current time in milliseconds; 0 while nothing is open.
    double currentTime() const;
    // The distinct event times of the run, ascending (none while nothing is open), and the index of the
    // latest of them at or before the current time (-1 when there is none): what a time bar or a
    // sequence of frames walks through.
    size_t timeCount();
    double timeAt(size_t index);
    long currentTimeIndex();
    // Whether there is a later time to move to.
    bool canPlay();
    // The event time nearest to `milliseconds` (of two as near, the earlier); false without event times.
    bool nearestEventTime(double milliseconds, double& nearest);

    // Playback: the cursor steps to the next event time at a steady rate (see VCPlayback), each step
    // reported like any other move, until it reaches the last time, where it stops by itself. Each start and
    // stop is logged. Starting at the last time goes back to the start first; with nothing open, or no
    // events, it logs "Nothing to play" and changes nothing. A start while playing changes the rate.
    bool play(double stepsPerSecond);
    // At the rate given last; until one is given, at VCPlayback::defaultRate for the run's steps (10 steps
    // a second, or slower so that the run lasts at least 4 seconds).
    bool play();
    // Returns whether it was playing.
    bool stopPlayback();
    bool isPlaying() const { return m_playback.isPlaying(); }
    double getPlaybackRate() const { return m_playback.getRate(); }
    // Gives playback the program's timer.
    void setPlaybackTimer(std::unique_ptr<VCPlaybackTimer> timer) { m_playback.setTimer(std::move(timer)); }
    // The timer's call back: takes the due step, if the token belongs to the running playback, and answers
    // whether it did (the picture then needs drawing).
    bool playbackTimerFired(unsigned token);

    // Grows whenever the run changes as a whole: a visualization opens or closes, an import of a log or of
    // a model file ends. What is derived from the run (a plot of its values) can tell that it is out of
    // date.
    uint64_t getRunRevision() const { return m_runRevision; }
    // Grows whenever anything the 3D picture shows may have changed: the time, the run, the models'
    // colours, visibility or layout. A drawn picture is reused only while this stays the same (the camera
    // and the window's size are the view's own and compared there). Whatever changes the scene outside
    // the calls below (a console command, a pick) says so through sceneChanged.
    uint64_t getSceneRevision() const { return m_sceneRevision; }
    void sceneChanged() { ++m_sceneRevision; }

    // The views over the open visualization; null while none is open.
    VCModelList* getModelList() const { return m_modelList.get(); }
    VCEventList* getEventList() const { return m_eventList.get(); }
    VCSceneGraph* getSceneGraph() const { return m_sceneGraph.get(); }
    // Where and how the cells are drawn; null while none is open.
    VCCellView* getCellView() const { return m_cellView.get(); }
    // Thin dark edges around the cubes of every cell space (see VCCellView::setOutlined); kept from one
    // visualization to the next.
    void setCellOutlines(bool on);
    bool getCellOutlines() const { return m_cellOutlines; }
    // A thin white frame around every cell and block that changed at the current time (see
    // VCCellView::setChangesShown, VCModelView::setChangesShown); kept from one visualization to the next.
    void setChangeOutlines(bool on);
    bool getChangeOutlines() const { return m_changeOutlines; }
    // Where and how the models' hierarchy is drawn; null while none is open.
    VCModelView* getModelView() const { return m_modelView.get(); }

    // Reads a model file into the open visualization (see VCModelFileLink): cell spaces take their declared
    // size and initial values, coupled models their components, ports and links. The time cursor stays
    // where it is and the cells show their values there. False, with getImportFailure saying why, when
    // none is open, another file is being imported or the file cannot be opened; the lines skipped do not
    // make it fail (getModelFileErrors lists them).
    bool importModelFile(const std::string& path);
    // The same reading in slices, as startImport reads a log, with the same host, progress and end;
    // cancelImport stops it with nothing of the file applied and "Model file <path> cancelled after N
    // lines: nothing of it was applied" logged.
    bool startModelFile(const std::string& path);
    const std::vector<std::string>& getModelFileErrors() const { return m_modelFileErrors; }

    // vis_field: number `field` (from 0) of each state text of `model` (a cell space or a model that
    // logged states as text) gives its values from now on, and the run changes as a whole (see
    // VCStateField). Answers the lines to print.
    std::vector<std::string> chooseField(const std::string& model, int field);
    // Asked first by chooseField, for the model's initial values to follow the choice; answers whether it
    // has initial values for that model. Without one, a cell space's scenario states follow it.
    using FieldHook = std::function<bool(const std::string& model, int field)>;
    void setFieldHook(FieldHook hook) { m_fieldHook = std::move(hook); }

  private:
    std::unique_ptr<VCModelList> m_modelList;
    std::unique_ptr<VCEventList> m_eventList;
    std::unique_ptr<VCSceneGraph> m_sceneGraph;
    std::unique_ptr<VCCellView> m_cellView;
    std::unique_ptr<VCModelView> m_modelView;
    bool m_cellOutlines = false;
    bool m_changeOutlines = false;
    // Opens an import into m_import; false (after its message) when it cannot begin.
    bool beginImport(const std::string& path);
    bool beginModelFile(const std::string& path);
    // Reads a begun import whole, or hands it to the host; as startImport answers.
    bool runImport();
    // Ends m_import and brings the time cursor up to date; true when the whole file was read.
    bool endImport(bool cancelled);

    VCPlayback m_playback;
    SDVisualization* m_visualization = nullptr;  // the slot's content, owned by the slot
    std::string m_importFailure;
    std::unique_ptr<VCImport> m_import;  // set while an import runs
    std::unique_ptr<VCImportHost> m_importHost;
    VCImportClock m_importClock;
    VCImportProgress m_lastProgress;
    bool m_importCancelled = false;
    bool m_importSliced = false;  // the host was told of the running import
    uint64_t m_runRevision = 0;
    uint64_t m_importCount = 0;
    uint64_t m_sceneRevision = 0;
    bool m_rateChosen = false;  // a rate was given to play
    std::vector<std::function<void()>> m_whenImportEnds;
    std::vector<std::string> m_modelFileErrors;
    FieldHook m_fieldHook;
};

// The current-visualization slot. It owns what it holds; the controller fills and empties it.
// createVisualization builds an unnamed visualization when the slot is empty and returns the slot's content.
SDVisualization* createVisualization();
SDVisualization* getVisualization();
void destroyVisualization();

// The process-wide controller: created once at start-up, destroyed by the exit confirmation.
// createSimulation builds it when absent and returns it.
VCSimulation* createSimulation();
VCSimulation* getSimulation();
void destroySimulation();
