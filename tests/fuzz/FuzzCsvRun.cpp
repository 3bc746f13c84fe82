// libFuzzer target: bytes as the body of a run in separated values, imported as a log file is.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/fuzz/CsvRunTarget.h"

namespace {

std::string& inputPath() {
    static std::string path;
    return path;
}

void removeInputFile() {
    ::unlink(inputPath().c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/tess-fuzz-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        std::abort();
    }
    ::close(fd);
    inputPath() = pattern;
    std::atexit(removeInputFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::csvRunInput(data, size, inputPath());
    return 0;
}
