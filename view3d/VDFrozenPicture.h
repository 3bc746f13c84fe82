#pragma once

#include <cstdint>
#include <vector>

// A picture read back from the frame buffer once and drawn again unchanged, for as long as what it shows
// must not be drawn afresh.
class VDFrozenPicture {
  public:
    // Reads the colours of the current read buffer's lower-left `width` x `height` pixels.
    void capture(int width, int height);
    // Draws them back at the lower-left corner, in a 2D pass whose projection maps (0, 0) to that corner,
    // stretched to `width` x `height` pixels (a window resized since the capture is covered whole).
    // Nothing when empty.
    void draw(int width, int height) const;
    void draw() const { draw(m_width, m_height); }
    void clear();
    bool empty() const { return m_pixels.empty(); }
    int width() const { return m_width; }
    int height() const { return m_height; }

  private:
    std::vector<uint8_t> m_pixels;  // RGB rows, bottom row first, no padding
    int m_width = 0;
    int m_height = 0;
};
