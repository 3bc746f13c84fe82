// libFuzzer target: bytes as one log line, through the field cutter and the loader's line handler.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/LoaderTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::logLineInput(data, size);
    return 0;
}
