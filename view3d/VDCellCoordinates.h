#pragma once

#include "control/VCCellView.h"

class VDBitmapFont;
class VDCellOverlay;

// The row and column numbers written along a block's top and left edges (blocks whose rows run down; not
// life's box): every cell when the side has at most kEveryCellUpTo cells, else every kStep, and sparser
// still where the numbers would run into each other. In the overlay's 2D pass.
class VDCellCoordinates {
  public:
    static constexpr unsigned kEveryCellUpTo = 10;
    static constexpr unsigned kStep = 5;

    // Whether the model's block is labelled at all.
    static bool labels(const VCCellView::DrawnModel& model);
    static void draw(const VDCellOverlay& overlay, const VCCellView::DrawnModel& model,
                     const VDBitmapFont* font, float charWidth, float charHeight);
};
