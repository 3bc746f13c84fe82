#pragma once

#include <memory>
#include <string>

#include "loader/SLSink.h"

class SLLogFile;
class VCEventList;
class VCModelList;

// Feeds one data source at a time into the open visualization: the loader hands it every model record and
// event, and it passes them on to the controller's views, which decide whether to keep them.
class VCSimulationLink : public SLSink {
  public:
    // Either view may be null; offers to a missing view are refused, so the loader deletes them.
    VCSimulationLink(VCModelList* modelList, VCEventList* eventList);
    VCSimulationLink(const VCSimulationLink&) = delete;
    VCSimulationLink& operator=(const VCSimulationLink&) = delete;

    ~VCSimulationLink() override;
    // Imports a log file through a loader that lives for this call only. Refused while an import through
    // this link is running (a call from inside it).
    virtual bool loadLogFile(const std::string& path);
    bool addModel(SDDevsModel* model) override;
    bool addEvent(SDEvent* event) override;
    // Passed on by reference: the views keep copies of what they take, and nothing is built for a refusal.
    bool offerModel(const SDDevsModel& model) override;
    bool offerEvent(const SDEvent& event) override;

    bool isLoading() const { return m_loader != nullptr; }
    // The log line that said why the last loadLogFile failed; empty after one that did not.
    const std::string& getFailure() const { return m_failure; }

  private:
    VCModelList* m_modelList;
    VCEventList* m_eventList;
    std::unique_ptr<SLLogFile> m_loader;  // set only while loadLogFile runs
    std::string m_failure;
};
