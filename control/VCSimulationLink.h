#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "control/VCImportSummary.h"
#include "loader/SLSink.h"
#include "simdata/SDStateTexts.h"

class SDModelStructure;
class SLRunReader;
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
    // this link is running (a call from inside it, or one read in slices).
    virtual bool loadLogFile(const std::string& path);

    // The same import in slices: begin, then readLines until it answers false, then end. The loader lives
    // from begin to end.
    // False when refused as above (the running import goes on) or when the file cannot be opened (the
    // import is then over: getFailure says why).
    bool beginLogFile(const std::string& path);
    // Reads up to `maxLines` more lines; true while lines remain. The lines of the first 100,000 messages
    // are logged as the reader logs them; after that, a line for every further 100,000 (VCImportSummary),
    // unless logEveryMessage().
    bool readLines(size_t maxLines);
    // Ends the import, whether or not the whole file was read, and releases the loader. True when the
    // whole file was read. Logs how many messages were read when the lines of some were held back, and,
    // once, how many lines were not messages and how many messages held a time
    // or value that is not a number; a file read whole that holds no message fails ("<path> holds no
    // simulation messages").
    bool endLogFile();
    // How far the running import is: lines handled, bytes of the file read and its size (all 0 when none
    // runs).
    long long linesRead() const;
    uint64_t bytesRead() const;
    uint64_t fileSize() const;
    bool addModel(SDDevsModel* model) override;
    bool addEvent(SDEvent* event) override;
    // Passed on by reference: the views keep copies of what they take, and nothing is built for a refusal.
    bool offerModel(const SDDevsModel& model) override;
    bool offerEvent(const SDEvent& event) override;
    bool modelsStamp(uint64_t& stamp) const override;
    void foreseeNames(uint32_t source, uint32_t destination, bool next) override;
    // Every message line goes to the structure of models, when the link has one.
    void offerMessage(const SDLogMessage& message) override;
    void setStructure(SDModelStructure* structure) { m_structure = structure; }
    // The one cell space of the registry whose size a model or scenario file declared, with its origin.
    bool declaredCellSpace(std::string& name, std::array<int, 3>& origin) const override;
    // Every state text goes to the store, when the link has one, with the index of the event that carries
    // its value: a cell's output on port "out" from the same cell at the same time, offered just before
    // or just after the state, the one after when both are (a text without a number has none).
    void offerState(std::string_view model, double milliseconds, std::string_view text) override;
    void offerReadState(std::string_view model, double milliseconds, std::string_view text,
                        bool numbered) override;
    void offerKeyedState(uint32_t key, std::string_view model, double milliseconds, std::string_view text,
                         bool numbered) override;
    void setStateTexts(SDStateTexts* states) { m_states = states; }

    bool isLoading() const { return m_loader != nullptr; }
    // The log line that said why the last loadLogFile failed; empty after one that did not.
    const std::string& getFailure() const { return m_failure; }

  private:
    // Keeps a state of the store's model `number` (see offerReadState).
    void keepState(uint32_t number, std::string_view model, double milliseconds, std::string_view text,
                   bool numbered);

    VCModelList* m_modelList;
    VCEventList* m_eventList;
    SDModelStructure* m_structure = nullptr;  // not owned
    SDStateTexts* m_states = nullptr;         // not owned
    // The last event on port "out" that no state took yet, and the last state with a number that no
    // event carries yet: whichever of the pair comes second finds the first here.
    struct OpenEvent {
        bool open = false;
        std::string source;
        double time = 0.0;
        size_t index = 0;
    } m_openEvent;
    struct OpenState {
        bool open = false;
        std::string model;
        double time = 0.0;
        SDStateTexts::Ref ref{0, 0};
    } m_openState;
    // The store's number of each model by the reader's key for it, this import: kNoModel for none yet.
    static constexpr uint32_t kNoModel = UINT32_MAX;
    std::vector<uint32_t> m_keyedModels;
    std::unique_ptr<SLRunReader> m_loader;  // set only while an import runs
    bool m_readWhole = false;
    std::string m_failure;
    VCImportSummary m_summary{false};
};
