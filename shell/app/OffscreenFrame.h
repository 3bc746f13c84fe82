#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A framebuffer of the program's own that a frame is drawn into instead of the window, so that a picture
// depends neither on the window's size nor on whether the window is shown or covered. It is multisampled
// like the window, so the picture looks as the window does. Needs a current OpenGL context.
class OffscreenFrame {
  public:
    OffscreenFrame() = default;
    ~OffscreenFrame();
    OffscreenFrame(const OffscreenFrame&) = delete;
    OffscreenFrame& operator=(const OffscreenFrame&) = delete;

    // Builds the buffers. False, with the reason in `error`, when the driver has no framebuffer objects or
    // refuses the size.
    bool create(int width, int height, std::string& error);
    // Directs drawing into the frame, over its whole size.
    void bind();
    // Reads the picture drawn since bind() as 8-bit RGB, rows from the top down, and directs drawing back
    // to the window (with the viewport it had before bind()).
    void read(std::vector<uint8_t>& rgb);

    int width() const { return m_width; }
    int height() const { return m_height; }

  private:
    void release();

    int m_width = 0;
    int m_height = 0;
    unsigned m_drawFramebuffer = 0;  // multisampled, drawn into
    unsigned m_readFramebuffer = 0;  // single-sampled, read from; 0 when drawing needs no resolve
    unsigned m_renderbuffers[3] = {0, 0, 0};
    int m_savedViewport[4] = {0, 0, 0, 0};
};
