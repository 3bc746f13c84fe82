#include "simdata/SDVisualization.h"

#include "scene/SDSceneGraph.h"
#include "shell/Log.h"
#include "simdata/SDCouplings.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDModelStructure.h"
#include "simdata/SDStateTexts.h"
#include "simdata/SDTimeCursor.h"

namespace {

void logTime(const char* label, const SDTime& time) {
    int h = 0, m = 0, s = 0, ms = 0;
    time.getComponents(h, m, s, ms);
    logMessage("Time %s to: %02d:%02d:%02d:%03d", label, h, m, s, ms);
}

}  // namespace

SDVisualization::SDVisualization() {
    m_sceneGraph = std::make_unique<SDSceneGraph>();
    m_modelList = std::make_unique<SDDevsModelList>();
    m_eventList = std::make_unique<SDEventList>();
    m_cursor = std::make_unique<SDTimeCursor>(*m_eventList, *m_modelList);
    m_structure = std::make_unique<SDModelStructure>();
    m_couplings = std::make_unique<SDCouplings>();
    m_stateTexts = std::make_unique<SDStateTexts>();
}

SDVisualization::~SDVisualization() {
    // A fixed teardown order, so the scene graph's own log lines come last. The cursor goes before
    // what it reads.
    m_cursor.reset();
    m_structure.reset();
    m_couplings.reset();
    m_stateTexts.reset();
    m_modelList.reset();
    m_eventList.reset();
    m_sceneGraph.reset();
}

SDTime SDVisualization::getTime() const {
    return SDTime(m_cursor->time());
}

void SDVisualization::timeIncremented(const SDTime& time) {
    logTime("incremented", time);
}

void SDVisualization::timeDecremented(const SDTime& time) {
    logTime("decremented", time);
}
