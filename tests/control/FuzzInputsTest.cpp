// Replays the fuzz targets' seed inputs and every input a fuzzer ever failed on (tests/fuzz/regressions/)
// through the same code the fuzzers run, so that a fault once found stays found in the regular suite.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/fuzz/Cadmium1Target.h"
#include "tests/fuzz/CsvRunTarget.h"
#include "tests/fuzz/ImportTarget.h"
#include "tests/fuzz/LoaderTargets.h"
#include "tests/fuzz/ModelFileTarget.h"
#include "tests/fuzz/SavedInputs.h"
#include "tests/fuzz/ScenarioTarget.h"
#include "tests/support/TempDir.h"

namespace {

template <class Run>
void replay(const std::string& target, Run run) {
    const std::vector<std::filesystem::path> inputs = fuzz::savedInputs(TESS_SOURCE_DIR, target);
    ASSERT_FALSE(inputs.empty()) << "no inputs for " << target;
    for (const std::filesystem::path& input : inputs) {
        SCOPED_TRACE(input.string());
        const std::string bytes = readFile(input.string());
        run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    setConsoleSink(nullptr);
}

TEST(FuzzInputsTest, ImportTarget) {
    TempDir dir;
    const std::string path = dir.file("input.log");
    replay("import", [&](const uint8_t* data, size_t size) {
        fuzz::importInput(data, size, path);
        // Both ways in for every input, whichever the fuzzer took.
        fuzz::importThroughController(path);
        fuzz::importThroughLink(path);
    });
}

TEST(FuzzInputsTest, CsvRunTarget) {
    TempDir dir;
    const std::string path = dir.file("input.csv");
    replay("csv_run", [&](const uint8_t* data, size_t size) { fuzz::csvRunInput(data, size, path); });
}

TEST(FuzzInputsTest, Cadmium1Target) {
    TempDir dir;
    const std::string path = dir.file("input.txt");
    replay("cadmium1", [&](const uint8_t* data, size_t size) { fuzz::cadmium1Input(data, size, path); });
}

TEST(FuzzInputsTest, LogLineTarget) {
    replay("log_line", fuzz::logLineInput);
}

TEST(FuzzInputsTest, ModelFileTarget) {
    TempDir dir;
    replay("model_file",
           [&](const uint8_t* data, size_t size) { fuzz::modelFileInput(data, size, dir.path()); });
}

TEST(FuzzInputsTest, ScenarioTarget) {
    TempDir dir;
    replay("scenario",
           [&](const uint8_t* data, size_t size) { fuzz::scenarioInput(data, size, dir.path()); });
}

TEST(FuzzInputsTest, TimeTarget) {
    replay("time", fuzz::timeInput);
}

}  // namespace
