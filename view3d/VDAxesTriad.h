#pragma once

#include <string>
#include <vector>

#include "gui/VDWindow.h"

class VDBitmapFont;

// The axes' directions in the bottom-left corner of the 3D view, turning with the camera: x red, y green,
// z blue, each labelled. While cell spaces whose rows run down are drawn, the arms are their cells'
// coordinates, as vis_cell and vis_slice count them (x down the rows, y across, z towards the viewer);
// otherwise the world's.
class VDAxesTriad {
  public:
    // The centre's distance from each side of the corner (room for a label below an arm pointing down),
    // and an arm's length, in pixels.
    static constexpr float kInset = 44.0f;
    static constexpr float kArm = 26.0f;

    struct Arm {
        float dx, dy;  // from the centre, in pixels, y up
        float depth;   // towards the eye
        float r, g, b;
        std::string name;
    };

    // The arms as a camera with this view matrix (column-major) sees them, the nearest last.
    static std::vector<Arm> arms(const double view[16], bool cellCoordinates);
    // Where the centre stands in `viewport` (window coordinates, y up): the bottom-left corner, or the
    // bottom-right one when the triad there would cover one of `taken` (the row numbers, say) and would
    // not at the right; the square kInset around the centre is what it covers.
    static void place(const VDRect& viewport, const std::vector<VDRect>& taken, float& centreX,
                      float& centreY);
    // Draws them around (centreX, centreY) of the 2D pass; labels need the font.
    static void draw(const std::vector<Arm>& arms, float centreX, float centreY, const VDBitmapFont* font);
};
