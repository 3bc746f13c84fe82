#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "control/VCImport.h"
#include "control/VCImportProgress.h"
#include "control/VCModelFileLink.h"

class SDCouplings;
class SDDevsModelList;

// One model file read into a visualization's registry and couplings a slice at a time, as a log import is.
// Its lines are only gathered while it runs; what they declare is applied at once when the last is read.
// Stopped early, it applies nothing: a model file half applied would give some cell spaces their sizes
// and values and leave others, and the couplings of a model without the links of its later lines.
class VCModelFileImport : public VCImport {
  public:
    // `clock` times the import for its progress (null: the steady clock); slices are timed by the steady
    // clock whatever it is.
    VCModelFileImport(SDDevsModelList& models, SDCouplings& couplings, std::string path,
                      VCImportClock clock = nullptr);
    VCModelFileImport(const VCModelFileImport&) = delete;
    VCModelFileImport& operator=(const VCModelFileImport&) = delete;

    bool begin() override;
    bool readFor(double milliseconds) override;
    void readAll() override;
    // Applies the file when every line was read; applies nothing otherwise.
    bool end() override;

    const std::string& failure() const override { return m_link.getFailure(); }
    // "Model file <path> cancelled after N lines: nothing of it was applied".
    std::string cancelledText(long long lines) const override;
    // The messages of the lines skipped (see SLMaFile::getErrors), once it has ended.
    const std::vector<std::string>& errors() const { return m_link.getErrors(); }

  private:
    void noteProgress();

    VCModelFileLink m_link;
    bool m_whole = false;  // every line was read
};
