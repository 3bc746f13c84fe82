#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "control/VCModelFileLink.h"
#include "loader/SLPaletteFile.h"
#include "loader/SLScenarioFile.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDCouplings.h"
#include "simdata/SDDevsModelList.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/fuzz/ImportTarget.h"

namespace fuzz {

// What a model file leaves in a registry and its couplings, to compare one reading with the next.
struct ModelFileState {
    std::map<std::string, std::vector<unsigned>> counts;
    std::map<std::string, const SDInitialValues*> initial;
    std::map<std::string, size_t> coupled;  // components + ports + links

    explicit ModelFileState(const SDDevsModelList& models, const SDCouplings& couplings) {
        for (const auto& [name, model] : models.getModels()) {
            if (const auto* cells = dynamic_cast<const SDCELLDevsModel*>(model.get())) {
                counts[name] = {cells->getWidth(), cells->getHeight(), cells->getLength()};
                initial[name] = cells->getInitialValues();
            }
        }
        for (const auto& [name, model] : couplings.getModels()) {
            coupled[name] = model.components.size() + model.inputPorts.size() + model.outputPorts.size() +
                            model.links.size();
        }
    }
};

// The fuzzer's entry: the bytes become a model file run.ma in `dir`, and also the cells file, map file and
// palette that a file naming run.val, run.map or run.pal would read, so one input is read in every form.
// The model file is read twice into a fresh registry: the second reading must change nothing, every cell
// space stays within the cell limit, every message names its file. The palette's entries are sound.
inline void modelFileInput(const uint8_t* data, size_t size, const std::string& dir) {
    chooseLogging(size);
    for (const char* extension : {"ma", "val", "map", "pal"}) {
        FUZZ_CHECK(writeWhole(dir + "/run." + extension, data, size));
    }
    const std::string path = dir + "/run.ma";
    SDDevsModelList models;
    SDCouplings couplings;
    VCModelFileLink link(models, couplings);
    // Bytes that open with '{' are read as a grid scenario, which fails when it is not one.
    const bool scenario = SLScenarioFile::looksLike(path);
    const bool loaded = link.load(path);
    FUZZ_CHECK(loaded || scenario);
    for (const std::string& error : link.getErrors()) {
        FUZZ_CHECK(error.rfind((scenario ? "Scenario file " : "Model file ") + dir + "/run.", 0) == 0);
    }
    const ModelFileState first(models, couplings);
    for (const auto& [name, counts] : first.counts) {
        FUZZ_CHECK(uint64_t{counts[0]} * counts[1] * uint64_t{counts[2]} <= SDCELLDevsModel::kMaxCells);
        double value = 0.0;
        if (first.initial.at(name) != nullptr && first.initial.at(name)->at(0, 0, 0, value)) {
            FUZZ_CHECK(value == value);
        }
    }
    FUZZ_CHECK(link.load(path) == loaded);
    const ModelFileState second(models, couplings);
    FUZZ_CHECK(first.counts == second.counts);
    FUZZ_CHECK(first.coupled == second.coupled);
    FUZZ_CHECK(first.initial == second.initial);  // the same values are not set again

    SLPaletteFile palette(dir + "/run.pal");
    FUZZ_CHECK(palette.load());
    for (const SLPaletteFile::Entry& entry : palette.getEntries()) {
        FUZZ_CHECK(entry.low <= entry.high);
        for (float component : entry.colour) {
            FUZZ_CHECK(component >= 0.0f && component <= 1.0f);
        }
    }
}

}  // namespace fuzz
