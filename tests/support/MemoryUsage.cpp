#include "tests/support/MemoryUsage.h"

#include <malloc.h>

#include <cstddef>
#include <cstdio>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define TESS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESS_ASAN 1
#endif
#endif

#ifdef TESS_ASAN
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

long statusField(const char* name) {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return -1;
    }
    char line[256];
    long value = -1;
    const size_t length = std::strlen(name);
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, name, length) == 0 && line[length] == ':') {
            std::sscanf(line + length + 1, "%ld", &value);
            break;
        }
    }
    std::fclose(status);
    return value;
}

}  // namespace

long residentKiB() {
    return statusField("VmRSS");
}

long peakResidentKiB() {
    return statusField("VmHWM");
}

bool resetPeakResident() {
    FILE* refs = std::fopen("/proc/self/clear_refs", "w");
    if (refs == nullptr) {
        return false;
    }
    const bool written = std::fputs("5", refs) >= 0;
    return std::fclose(refs) == 0 && written;
}

long long liveHeapBytes() {
#ifdef TESS_ASAN
    // Freed blocks wait in the sanitizer's quarantine, still resident: only this count tells what is live.
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<long long>(mallinfo2().uordblks);
#endif
}
