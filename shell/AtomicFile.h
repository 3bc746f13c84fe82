#pragma once

#include <string>

// Writes `content` to the file `path` whole or not at all: under a temporary name in the same folder,
// then renamed over `path`, so a failure (a missing folder, a read-only place, a full disk) leaves no
// partial file behind and an existing file stays as it was. On failure `error` holds the system's reason
// ("No such file or directory").
bool writeFileAtomically(const std::string& path, const std::string& content, std::string& error);
