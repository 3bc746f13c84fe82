#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "control/VCEventList.h"
#include "control/VCModelList.h"
#include "control/VCSimulation.h"
#include "control/VCSimulationLink.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDVisualization.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/fuzz/ImportTarget.h"

namespace fuzz {

// The one refusal a run in separated values may end with besides holding no messages.
inline bool acceptedCsvFailure(const std::string& path, const std::string& failure) {
    return failure == path + " holds no simulation messages" ||
           (failure.rfind(path + ": cells of ", 0) == 0 &&
            failure.find(" dimensions; at most 3 can be shown") != std::string::npos);
}

// The bytes after a header of separated values: the first byte, when it is one of ";,|\t", is the
// separator (the rest is the file's body), else ';' and all of it. So every input is read as such a run.
inline std::string csvFile(const uint8_t* data, size_t size) {
    char separator = ';';
    if (size > 0 && (data[0] == ';' || data[0] == ',' || data[0] == '|' || data[0] == '\t')) {
        separator = static_cast<char>(data[0]);
        ++data;
        --size;
    }
    std::string text = std::string("time") + separator + "model_id" + separator + "model_name" + separator +
                       "port_name" + separator + "data\n";
    text.append(reinterpret_cast<const char*>(data), size);
    return text;
}

// The fuzzer's entry: the run imported through a simulation link into fresh lists, or through the
// controller for one input in sixteen (chosen by size), and checked as any import is.
inline void csvRunInput(const uint8_t* data, size_t size, const std::string& path) {
    chooseLogging(size);
    const std::string text = csvFile(data, size);
    FUZZ_CHECK(writeWhole(path, reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    if ((size / 4) % 16 == 1) {
        VCSimulation simulation;
        FUZZ_CHECK(simulation.newVisualization("fuzz"));
        FUZZ_CHECK(simulation.importLogFile(path) || acceptedCsvFailure(path, simulation.getImportFailure()));
        SDVisualization* visualization = getVisualization();
        checkImported(*visualization->getModelList(), *visualization->getEventList());
        simulation.closeVisualization();
        return;
    }
    SDDevsModelList models;
    SDEventList events;
    VCModelList modelView(&models);
    VCEventList eventView(&events);
    VCSimulationLink link(&modelView, &eventView);
    FUZZ_CHECK(link.loadLogFile(path) || acceptedCsvFailure(path, link.getFailure()));
    FUZZ_CHECK(!link.isLoading());
    checkImported(models, events);
}

}  // namespace fuzz
