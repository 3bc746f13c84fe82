#include "shell/MemoryReuse.h"

#include <malloc.h>

bool keepFreedMemoryForReuse() {
    return mallopt(M_TRIM_THRESHOLD, static_cast<int>(kKeptFreeBytes)) == 1;
}
