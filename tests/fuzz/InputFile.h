#pragma once

// The temporary file that a target reading files writes each input to: made once when the fuzzer starts,
// removed when it exits.
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace fuzz {

inline std::string& inputPath() {
    static std::string path;
    return path;
}

// For LLVMFuzzerInitialize: makes the file under $TMPDIR (else /tmp).
inline int makeInputFile() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/tess-fuzz-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        std::abort();
    }
    ::close(fd);
    inputPath() = pattern;
    std::atexit([] { ::unlink(inputPath().c_str()); });
    return 0;
}

}  // namespace fuzz
