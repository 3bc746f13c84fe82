#include "shell/VDDisposable.h"

#include <cstdint>

#include "shell/Log.h"

VDDisposable::~VDDisposable() {
    // The whole address, as a signed decimal: an int would cut a 64-bit pointer.
    logMessage("Disposing object with pointer %lld",
               static_cast<long long>(reinterpret_cast<intptr_t>(this)));
}
