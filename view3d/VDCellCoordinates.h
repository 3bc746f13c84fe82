#pragma once

#include <string>
#include <vector>

#include "control/VCCellView.h"

class VDBitmapFont;
class VDCellOverlay;

// The row and column numbers (the run's own coordinates: the stored index plus the model's origin)
// written along the top and left edges of the cells drawn of a block (blocks
// whose rows run down; not life's box; of a slice, its own rows and columns): every cell when the side has
// at most kEveryCellUpTo cells, else every kStep, and sparser still where the numbers would run into each
// other. Of the two edges of a face, the one that appears outermost carries them. In the overlay's 2D pass.
class VDCellCoordinates {
  public:
    static constexpr unsigned kEveryCellUpTo = 10;
    static constexpr unsigned kStep = 5;

    // Whether the model's block is labelled at all.
    static bool labels(const VCCellView::DrawnModel& model);
    // A number and where it starts in the window (its text's bottom-left corner).
    struct Label {
        std::string text;
        long x;
        long y;
        bool column;  // a column number (else a row number)
    };
    static std::vector<Label> place(const VDCellOverlay& overlay, const VCCellView::DrawnModel& model,
                                    float charWidth, float charHeight);
    static void draw(const VDCellOverlay& overlay, const VCCellView::DrawnModel& model,
                     const VDBitmapFont* font, float charWidth, float charHeight);
};
