// libFuzzer target: bytes as a grid scenario, read twice into a fresh registry.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/fuzz/ScenarioTarget.h"

namespace {

std::string& inputDir() {
    static std::string path;
    return path;
}

void removeInputDir() {
    ::unlink((inputDir() + "/run.json").c_str());
    ::rmdir(inputDir().c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/tess-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    inputDir() = pattern;
    std::atexit(removeInputDir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::scenarioInput(data, size, inputDir());
    return 0;
}
