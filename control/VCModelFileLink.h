#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "loader/SLSink.h"

class SDCouplings;
class SLDeclarationFile;
class SDCELLDevsModel;
class SDDevsModelList;

// Reads one model file into a visualization's registry and couplings: what a model file declares (see
// SLMaFile) is applied as it comes. A cell space gets its declared size (a record is registered for a name
// the log has not named, and a plain record of that name becomes a Cell-DEVS one) and its initial values; a
// coupled model's components, ports and links go to the visualization's couplings. Each model read is summed
// up in one log line, the file in a last one. The same file read again changes nothing more.
//
// A grid scenario (SLScenarioFile) is read the same way. Its space also takes the scenario's origin, states
// and colours; read after a run that has no space of its name, it goes to the run's only cell space, which
// keeps its name.
//
// The file can also be read a slice at a time: nothing is applied until every line is read and finish is
// called, so a reading stopped early changes nothing.
class VCModelFileLink : public SLSink {
  public:
    VCModelFileLink(SDDevsModelList& models, SDCouplings& couplings);
    ~VCModelFileLink() override;

    // False, after the loader's message, when the file cannot be opened.
    bool load(const std::string& path);
    // Opens the file; false, after the loader's message, when it cannot be opened.
    bool begin(const std::string& path);
    // Reads at most `count` more lines; true while lines remain.
    bool readLines(size_t count);
    // Applies what the lines read declare, logs the file's summary and releases the file.
    void finish();
    // Releases the file and applies nothing.
    void stop();
    bool isReading() const { return m_file != nullptr; }
    long long linesRead() const;
    uint64_t bytesRead() const;
    uint64_t fileSize() const;
    const std::string& getFailure() const { return m_failure; }
    // The messages of the lines skipped (see SLMaFile::getErrors).
    const std::vector<std::string>& getErrors() const { return m_errors; }

    bool addModel(SDDevsModel* model) override;
    bool addEvent(SDEvent* event) override;
    bool addDeclaration(SDModelDeclaration declaration) override;

  private:
    void applyCellSpace(SDModelDeclaration& declaration);
    // The space a scenario's declaration goes to, registered when new; null when none can be.
    SDCELLDevsModel* scenarioSpace(SDModelDeclaration& declaration);
    void applyScenario(SDModelDeclaration& declaration);

    // The errors and the count of lines skipped of the reading that ends.
    void noteErrors();

    SDDevsModelList& m_models;
    SDCouplings& m_couplings;
    std::string m_failure;
    std::vector<std::string> m_errors;
    size_t m_skipped = 0;
    size_t m_declared = 0;
    std::unique_ptr<SLDeclarationFile> m_file;  // while a reading runs
    std::string m_path;
};
