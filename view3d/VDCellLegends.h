#pragma once

#include <string>
#include <vector>

#include "control/VCCellView.h"
#include "gui/VDWindow.h"

class VDBitmapFont;

// The legends of the cell spaces in view, at the right edge of the picture. A legend says what the colours
// of one model mean (VCCellView::Legend): the ramp as a colour bar with the range in use and round numbers
// beside it (titled with the model and its port, "surface.out"), a
// column of swatches (one per colour rule with its range, one per value, one for "no value"), or the bar
// with swatches below it. Above each stands the model's name. While model blocks are drawn, the key of
// their colours (blockKey) stands last.
//
// One legend stands centred on the right edge (the colour bar where it has always been, any swatches
// below it). Up to kMaxLegends stand one above the other from the top of the picture, each given an equal
// share of its height; a bar shrinks to fit, and swatches that do not fit end in a "+N more" row.
class VDCellLegends {
  public:
    static constexpr size_t kMaxLegends = 4;
    static constexpr float kBarWidth = 14.0f;
    static constexpr float kBarHeight = 160.0f;
    static constexpr float kMargin = 24.0f;
    // Kept clear at the top: the button strip.
    static constexpr float kTopClearance = 40.0f;

    // Between the colour bar and the swatches below it.
    static constexpr float kBarGap = 8.0f;
    static constexpr float kTickLength = 4.0f;

    struct Placed {
        const VCCellView::DrawnModel* model = nullptr;
        VDRect column;  // the bar's and the swatches' column, right-aligned in the margin
        VDRect bar;     // the colour bar, at the column's top; of no height without one
        float rowHeight = 0.0f;
        size_t rows = 0;        // swatch rows shown, the "+N more" row included
        size_t hiddenRows = 0;  // swatches that did not fit
    };

    // `charWidth` and `charHeight`: the theme font's, for the text beside the bars and swatches.
    VDCellLegends(const VDRect& viewport, float charWidth, float charHeight);

    // Places the legends of these models (those without one are passed over; the first kMaxLegends of the
    // rest are placed, top to bottom), and the key of block colours last when there is one (it takes the
    // last place).
    void place(const std::vector<const VCCellView::DrawnModel*>& models,
               const VCCellView::DrawnModel* key = nullptr);
    const std::vector<Placed>& getPlaced() const { return m_placed; }
    // The text beside a swatch: "0 .. 0.9", "3", "no value", or its own text.
    static std::string swatchLabel(const VCCellView::Swatch& swatch);
    // The numbers marked beside a model's colour bar (SDNiceNumbers); none for a single value.
    static std::vector<double> ticks(const VCCellView::DrawnModel& model);
    // The number at the bar's top (`high`) or bottom: "28.5", or "≥ 28.5" when some value lies beyond it.
    static std::string endLabel(const VCCellView::DrawnModel& model, bool high);
    // What the colours of the model blocks mean when no colour rule holds: a legend of four swatches.
    static VCCellView::DrawnModel blockKey();

    // Draws them; text needs the font (bars and swatches are drawn without one).
    void draw(const VDBitmapFont* font) const;

  private:
    void drawRamp(const Placed& placed, const VDBitmapFont* font) const;
    void drawSwatches(const Placed& placed, const VDBitmapFont* font) const;
    void rightAligned(const VDBitmapFont* font, const std::string& text, float right, float y) const;

    VDRect m_viewport;
    float m_charWidth;
    float m_charHeight;
    std::vector<Placed> m_placed;
};
