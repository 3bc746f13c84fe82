// libFuzzer target: bytes as a Cadmium 1 message or state file, read by its reader into a fresh registry.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/Cadmium1Target.h"
#include "tests/fuzz/InputFile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return fuzz::makeInputFile();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::cadmium1Input(data, size, fuzz::inputPath());
    return 0;
}
