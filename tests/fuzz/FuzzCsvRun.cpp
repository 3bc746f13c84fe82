// libFuzzer target: bytes as the body of a run in separated values, imported as a log file is.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/CsvRunTarget.h"
#include "tests/fuzz/InputFile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return fuzz::makeInputFile();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::csvRunInput(data, size, fuzz::inputPath());
    return 0;
}
