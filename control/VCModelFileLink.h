#pragma once

#include <string>
#include <vector>

#include "loader/SLSink.h"

class SDCouplings;
class SDDevsModelList;

// Reads one model file into a visualization's registry and couplings: what a model file declares (see
// SLMaFile) is applied as it comes. A cell space gets its declared size (a record is registered for a name
// the log has not named, and a plain record of that name becomes a Cell-DEVS one) and its initial values; a
// coupled model's components, ports and links go to the visualization's couplings. Each model read is summed
// up in one log line, the file in a last one. The same file read again changes nothing more.
class VCModelFileLink : public SLSink {
  public:
    VCModelFileLink(SDDevsModelList& models, SDCouplings& couplings)
        : m_models(models), m_couplings(couplings) {}
    ~VCModelFileLink() override;

    // False, after the loader's message, when the file cannot be opened.
    bool load(const std::string& path);
    const std::string& getFailure() const { return m_failure; }
    // The messages of the lines skipped (see SLMaFile::getErrors).
    const std::vector<std::string>& getErrors() const { return m_errors; }

    bool addModel(SDDevsModel* model) override;
    bool addEvent(SDEvent* event) override;
    bool addDeclaration(SDModelDeclaration declaration) override;

  private:
    void applyCellSpace(SDModelDeclaration& declaration);

    SDDevsModelList& m_models;
    SDCouplings& m_couplings;
    std::string m_failure;
    std::vector<std::string> m_errors;
    size_t m_skipped = 0;
    size_t m_declared = 0;
};
