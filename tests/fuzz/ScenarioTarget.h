#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "control/VCModelFileLink.h"
#include "loader/SLScenarioFile.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDCouplings.h"
#include "simdata/SDDevsModelList.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/fuzz/ModelFileTarget.h"

namespace fuzz {

// The fuzzer's entry: the bytes become run.json in `dir`, read twice as a grid scenario into a fresh
// registry. A file that loads declares one cell space within the cell limit, with the scenario's states and
// finite initial values; one that does not leaves the registry empty; every message names the file; the
// second reading changes nothing; a file recognised as a scenario looks like one.
inline void scenarioInput(const uint8_t* data, size_t size, const std::string& dir) {
    chooseLogging(size);
    const std::string path = dir + "/run.json";
    FUZZ_CHECK(writeWhole(path, data, size));
    FUZZ_CHECK(!SLScenarioFile::recognise(path) || SLScenarioFile::looksLike(path));
    SDDevsModelList models;
    SDCouplings couplings;
    VCModelFileLink link(models, couplings);
    SLScenarioFile file(&link, path);
    const bool loaded = file.load();
    FUZZ_CHECK(loaded == file.getFailure().empty());
    FUZZ_CHECK(loaded || file.getFailure().rfind("Scenario file " + path + ": ", 0) == 0);
    for (const std::string& error : file.getErrors()) {
        FUZZ_CHECK(error.rfind("Scenario file " + path + ": ", 0) == 0);
    }
    FUZZ_CHECK(models.getModels().size() == (loaded ? 1u : 0u));
    const ModelFileState first(models, couplings);
    for (const auto& [name, model] : models.getModels()) {
        const auto* cells = dynamic_cast<const SDCELLDevsModel*>(model.get());
        FUZZ_CHECK(cells != nullptr && cells->getScenario() != nullptr && cells->hasDeclaredSize());
        FUZZ_CHECK(uint64_t{cells->getWidth()} * cells->getHeight() * uint64_t{cells->getLength()} <=
                   SDCELLDevsModel::kMaxCells);
        double value = 0.0;
        if (cells->initialValue(0, 0, 0, value)) {
            FUZZ_CHECK(std::isfinite(value));
        }
    }
    SLScenarioFile again(&link, path);
    FUZZ_CHECK(again.load() == loaded);
    const ModelFileState second(models, couplings);
    FUZZ_CHECK(first.counts == second.counts);
    FUZZ_CHECK(first.initial == second.initial);  // the same values are not set again
}

}  // namespace fuzz
