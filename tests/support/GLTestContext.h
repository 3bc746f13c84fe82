#pragma once

#include <cstdint>
#include <vector>

// A real OpenGL context for GL tests: one 800x600 GLUT window per test process (GLUT can be set up only
// once), on the display the test command provides. Tests draw into the back buffer and read it back.
class GLTestContext {
  public:
    // Opens the window on first use and makes its context current; later calls reuse it. Returns false when
    // no display is available.
    static bool ensure(int width = 800, int height = 600);

    struct Pixel {
        uint8_t r = 0, g = 0, b = 0, a = 0;
    };
    // Reads one pixel of the back buffer; (x, y) from the bottom-left corner, as OpenGL counts.
    static Pixel pixel(int x, int y);
    // Reads a rectangle of the back buffer, rows from the bottom up.
    static std::vector<Pixel> region(int x, int y, int width, int height);
    // Whether two regions read alike have the same colours, pixel for pixel (alpha aside).
    static bool sameColours(const std::vector<Pixel>& a, const std::vector<Pixel>& b);
    // How many pixels of the rectangle have each channel within `tolerance` of the given colour.
    static int countNear(int x, int y, int width, int height, Pixel colour, int tolerance = 8);

    // Puts the fixed-function state back to OpenGL's defaults and clears to black, so tests do not depend
    // on each other.
    static void reset();
};
