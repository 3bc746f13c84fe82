#include "shell/LargeBlocks.h"

#include <sys/mman.h>

#include <cstdlib>

void* allocateLargeBlock(size_t bytes) {
    const size_t rounded = (bytes + kLargePageBytes - 1) / kLargePageBytes * kLargePageBytes;
    if (rounded == 0 || rounded < bytes) {
        return nullptr;
    }
    void* block = std::aligned_alloc(kLargePageBytes, rounded);
    if (block != nullptr) {
        // Only advice: where large pages are off or used up, the block is mapped page by page as before.
        madvise(block, rounded, MADV_HUGEPAGE);
    }
    return block;
}

void freeLargeBlock(void* block) {
    std::free(block);
}
