// libFuzzer target: bytes as console lines for the command parser, or as keys typed into the console.
// Runs in a private temporary directory holding "life.log", so that imports have a log to read.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/fuzz/ConsoleTarget.h"

namespace {

std::string& directory() {
    static std::string path;
    return path;
}

void removeDirectory() {
    ::unlink((directory() + "/life.log").c_str());
    ::rmdir(directory().c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/tess-fuzz-XXXXXX";
    if (::mkdtemp(dir.data()) == nullptr || ::chdir(dir.c_str()) != 0) {
        std::abort();
    }
    const std::string log = fuzz::kConsoleLifeLog;
    FUZZ_CHECK(fuzz::writeWhole(dir + "/life.log", reinterpret_cast<const uint8_t*>(log.data()), log.size()));
    directory() = dir;
    std::atexit(removeDirectory);
    fuzz::consoleSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::consoleInput(data, size);
    return 0;
}
