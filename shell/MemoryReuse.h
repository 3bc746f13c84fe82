#pragma once

#include <cstddef>

// Every frame that writes text after a 3D picture makes the GL driver allocate and free a few megabytes.
// With the C library's defaults the freed memory goes back to the system each time, and the next frame
// takes it back page by page: most of a frame's work on the program's own thread. Kept up to this much
// free at the top of the heap, the memory is reused instead. Peak memory is not changed.
constexpr size_t kKeptFreeBytes = size_t{64} << 20;

// Sets the C library's trim threshold to kKeptFreeBytes; returns whether it took.
bool keepFreedMemoryForReuse();
