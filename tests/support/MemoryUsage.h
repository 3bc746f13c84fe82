#pragma once

// The process's resident memory as the kernel reports it (/proc/self/status), in KiB; -1 when unknown.
long residentKiB();
// The peak resident memory since start or since the last resetPeakResident.
long peakResidentKiB();
// Starts a new peak at the current resident size (Linux 4.0 and later); false when the kernel refuses.
bool resetPeakResident();
// Bytes the program holds in live heap blocks (what it has allocated and not freed), from the sanitizer's
// allocator in a sanitizer build and from the C library's otherwise.
long long liveHeapBytes();
