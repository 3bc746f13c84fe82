// libFuzzer target: bytes as a log file, imported through the controller into a fresh visualization.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/ImportTarget.h"
#include "tests/fuzz/InputFile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return fuzz::makeInputFile();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::importInput(data, size, fuzz::inputPath());
    return 0;
}
