#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes an 8-bit RGB picture, rows from the top down, as a PNG file. The file appears whole or not at all:
// it is written under a temporary name in the same folder and then renamed to `path`, so a failure (a
// missing folder, a read-only place, a full disk) leaves no partial file behind. On failure `error` holds
// the system's reason ("No such file or directory"). `quick` trades a larger file for less time, for
// frame sequences of many pictures.
bool writePngFile(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
                  std::string& error, bool quick = false);
