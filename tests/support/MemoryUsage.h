#pragma once

// The process's resident memory as the kernel reports it (/proc/self/status), in KiB; -1 when unknown.
long residentKiB();
// The peak resident memory since start or since the last resetPeakResident.
long peakResidentKiB();
// Starts a new peak at the current resident size (Linux 4.0 and later); false when the kernel refuses.
bool resetPeakResident();
