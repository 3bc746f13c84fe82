#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes an 8-bit RGB picture, rows from the top down, as a PNG file, whole or not at all and only where a
// file may be written (AtomicFile: a link is written through, a read-only file, a folder or a FIFO is
// refused, a replaced file keeps its permissions). On failure `error` holds the system's reason ("No such
// file or directory") and no file was written. `quick` trades a larger file for less time, for frame
// sequences of many pictures.
bool writePngFile(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
                  std::string& error, bool quick = false);
