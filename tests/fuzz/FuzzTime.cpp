// libFuzzer target: bytes as a number or a time text, through the scanners and SDTime.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/LoaderTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::timeInput(data, size);
    return 0;
}
