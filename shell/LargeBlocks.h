#pragma once

#include <cstddef>

// Memory for large arrays that grow to tens of megabytes while a log is read. Taken page by page, each
// first touch of a 4 KiB page costs a fault, and on a virtual machine a fault is dear (a tenth of a whole
// import went into them). A block taken here is aligned to kLargePageBytes and asked to be backed by
// large pages where the system allows it, so one fault maps 2 MiB.
constexpr size_t kLargePageBytes = size_t{2} << 20;

// `bytes` is rounded up to a whole number of large pages. Null when the memory cannot be had.
void* allocateLargeBlock(size_t bytes);
// A block from allocateLargeBlock, or null.
void freeLargeBlock(void* block);
