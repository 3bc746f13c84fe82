// Replays the fuzz targets' seed inputs and every input a fuzzer ever failed on (tests/fuzz/regressions/)
// through the same code the fuzzers run, so that a fault once found stays found in the regular suite.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/fuzz/ImportTarget.h"
#include "tests/fuzz/LoaderTargets.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// The inputs kept for one target, seeds and regressions, in name order.
std::vector<fs::path> inputsOf(const std::string& target) {
    std::vector<fs::path> inputs;
    for (const char* kind : {"corpus", "regressions"}) {
        const fs::path dir = fs::path(TESS_SOURCE_DIR) / "tests/fuzz" / kind / target;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(dir, error)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path());
            }
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

template <class Run>
void replay(const std::string& target, Run run) {
    const std::vector<fs::path> inputs = inputsOf(target);
    ASSERT_FALSE(inputs.empty()) << "no inputs for " << target;
    for (const fs::path& input : inputs) {
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

TEST(FuzzInputsTest, LogLineTarget) {
    replay("log_line", fuzz::logLineInput);
}

TEST(FuzzInputsTest, TimeTarget) {
    replay("time", fuzz::timeInput);
}

}  // namespace
