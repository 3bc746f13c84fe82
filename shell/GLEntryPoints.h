#pragma once

#include <GL/glx.h>

// Entry points beyond OpenGL 1.1 come from the driver at run time: the system header declares only 1.1.

// Stores whatever the driver answers, null included: glXGetProcAddress answers for any name, so callers
// also ask the context (version or extension) whether the function is really there.
template <typename Pointer>
void fetchGLEntryPoint(Pointer& target, const char* name) {
    target = reinterpret_cast<Pointer>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

// The current context's version as major * 10 + minor; 0 without a context or when it cannot be read.
int glContextVersion();

// Whether the current context lists the extension as a whole word of its list.
bool glContextHasExtension(const char* name);
