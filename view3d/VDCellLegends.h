#pragma once

#include <string>
#include <vector>

#include "control/VCCellView.h"
#include "gui/VDWindow.h"

class VDBitmapFont;

// The legends of the cell spaces in view, at the right edge of the picture. A legend says what the colours
// of one model mean (VCCellView::Legend): the ramp as a colour bar with the range in use beside it, or a
// column of swatches (one per colour rule with its range and one for "no value", or one per value). Above
// each stands the model's name.
//
// One legend stands centred on the right edge (the colour bar where it has always been). Up to
// kMaxLegends stand one above the other from the top of the picture, each given an equal share of its
// height; a ramp shrinks to fit, and swatches that do not fit end in a "+N more" row.
class VDCellLegends {
  public:
    static constexpr size_t kMaxLegends = 4;
    static constexpr float kBarWidth = 14.0f;
    static constexpr float kBarHeight = 160.0f;
    static constexpr float kMargin = 24.0f;
    // Kept clear at the top: the button strip.
    static constexpr float kTopClearance = 40.0f;

    struct Placed {
        const VCCellView::DrawnModel* model = nullptr;
        VDRect column;  // the bar's or the swatches' column, right-aligned in the margin
        float rowHeight = 0.0f;
        size_t rows = 0;        // swatch rows shown, the "+N more" row included
        size_t hiddenRows = 0;  // swatches that did not fit
    };

    // `charWidth` and `charHeight`: the theme font's, for the text beside the bars and swatches.
    VDCellLegends(const VDRect& viewport, float charWidth, float charHeight);

    // Places the legends of these models (those without one are passed over; the first kMaxLegends of the
    // rest are placed, top to bottom).
    void place(const std::vector<const VCCellView::DrawnModel*>& models);
    const std::vector<Placed>& getPlaced() const { return m_placed; }
    // The text beside a swatch: "0 .. 0.9", "3", "no value".
    static std::string swatchLabel(const VCCellView::Swatch& swatch);

    // Draws them; text needs the font (bars and swatches are drawn without one).
    void draw(const VDBitmapFont* font) const;

  private:
    // The height a legend's bar or swatches would take uncut.
    float contentHeight(const VCCellView::DrawnModel& model) const;
    void drawRamp(const Placed& placed, const VDBitmapFont* font) const;
    void drawSwatches(const Placed& placed, const VDBitmapFont* font) const;
    void rightAligned(const VDBitmapFont* font, const std::string& text, float right, float y) const;

    VDRect m_viewport;
    float m_charWidth;
    float m_charHeight;
    std::vector<Placed> m_placed;
};
