#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A PNG file read back as 8-bit RGB, rows from the top down. Empty (width 0) when the file is not a
// readable PNG.
struct PngPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    static PngPicture read(const std::string& path);
    bool valid() const { return width > 0 && height > 0; }
    // (x, y) from the top-left corner.
    const uint8_t* at(int x, int y) const { return rgb.data() + (static_cast<size_t>(y) * width + x) * 3; }
};
