#include "tests/support/MemoryUsage.h"

#include <cstdio>
#include <cstring>

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
