// libFuzzer target: bytes as a Cadmium 1 message or state file, read by its reader into a fresh registry.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/fuzz/Cadmium1Target.h"

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
    fuzz::cadmium1Input(data, size, inputPath());
    return 0;
}
