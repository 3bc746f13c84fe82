#pragma once

#include <chrono>
#include <string>

#include "control/VCImport.h"
#include "control/VCImportProgress.h"
#include "control/VCSimulationLink.h"

class SDModelStructure;
class VCEventList;
class VCModelList;

// One log import into the controller's views, read a slice at a time so that the program's one thread can
// draw and read input in between. The data structures see exactly what one whole load would give them,
// line by line; stopping early leaves the models and events of the lines read so far.
class VCLogImport : public VCImport {
  public:
    // Message lines of every kind go to `structure` too, when one is given. `clock` times the import for
    // its progress (null: the steady clock); slices are timed by the steady clock whatever it is.
    VCLogImport(VCModelList* models, VCEventList* events, std::string path,
                SDModelStructure* structure = nullptr, VCImportClock clock = nullptr);
    VCLogImport(const VCLogImport&) = delete;
    VCLogImport& operator=(const VCLogImport&) = delete;

    bool begin() override;
    bool readFor(double milliseconds) override;
    void readAll() override;
    bool end() override;

    const std::string& failure() const override { return m_link.getFailure(); }
    // "Import cancelled after N lines": the models and events of those lines stay.
    std::string cancelledText(long long lines) const override;
    // The running import's link, which refuses any second load while this one reads.
    VCSimulationLink& link() { return m_link; }

  private:
    void noteProgress();

    VCSimulationLink m_link;
};
