#include "shell/GLEntryPoints.h"

#include <cstdio>

#include "shell/GLExtensions.h"

int glContextVersion() {
    const char* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    int minor = 0;
    if (text == nullptr || std::sscanf(text, "%d.%d", &major, &minor) != 2) {
        return 0;
    }
    return major * 10 + minor;
}

bool glContextHasExtension(const char* name) {
    return GLExtensions::isExtensionInList(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name);
}
