#pragma once

#include <memory>
#include <string>
#include <utility>

#include "simdata/SDTime.h"

class SDCouplings;
class SDDevsModelList;
class SDEventList;
class SDModelStructure;
class SDSceneGraph;
class SDStateTexts;
class SDTimeCursor;

// The viewing state of one simulation run: its name, the model registry, the event list, the scene graph
// that is drawn and the time cursor, which holds the current simulated time. It owns all of them; the
// accessors never return null.
class SDVisualization {
  public:
    SDVisualization();
    SDVisualization(const SDVisualization&) = delete;
    SDVisualization& operator=(const SDVisualization&) = delete;
    virtual ~SDVisualization();

    SDDevsModelList* getModelList() const { return m_modelList.get(); }
    SDSceneGraph* getSceneGraph() const { return m_sceneGraph.get(); }
    SDEventList* getEventList() const { return m_eventList.get(); }
    SDTimeCursor* getCursor() const { return m_cursor.get(); }
    // The models as a hierarchy, with what each did over the run.
    SDModelStructure* getStructure() const { return m_structure.get(); }
    // The coupled models as the model files read into this visualization describe them (components,
    // ports, links), by model name.
    SDCouplings* getCouplings() const { return m_couplings.get(); }
    // The whole state texts of the models, for formats that log states as text.
    SDStateTexts* getStateTexts() const { return m_stateTexts.get(); }

    void setName(std::string name) { m_name = std::move(name); }
    std::string getName() const { return m_name; }
    // The cursor's time.
    SDTime getTime() const;

    // Report a move of the time cursor. They only log the new time: the cursor keeps the time.
    void timeIncremented(const SDTime& time);
    void timeDecremented(const SDTime& time);

  private:
    std::string m_name;
    std::unique_ptr<SDDevsModelList> m_modelList;
    std::unique_ptr<SDSceneGraph> m_sceneGraph;
    std::unique_ptr<SDEventList> m_eventList;
    std::unique_ptr<SDTimeCursor> m_cursor;  // reads the registry and the event list
    std::unique_ptr<SDModelStructure> m_structure;
    std::unique_ptr<SDCouplings> m_couplings;
    std::unique_ptr<SDStateTexts> m_stateTexts;
};
