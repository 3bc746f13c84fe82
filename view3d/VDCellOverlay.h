#pragma once

#include <string>
#include <vector>

#include "control/VCCellView.h"
#include "gui/VDWindow.h"
#include "scene/Vector3.h"

class VDBitmapFont;

// The 2D layer over the drawn cells: each model's name above (or below) its block, clear of every cube, and
// the legends of the models in view at the right edge (VDCellLegends): the colour bar of the model drawn
// nearest the centre of the view when it is the only one, or up to four legends stacked. Drawn in the
// theme's 2D pass (window coordinates, y up) after the 3D picture.
class VDCellOverlay {
  public:
    // The projection and view matrices the 3D picture was drawn with; the picture fills `viewport`.
    VDCellOverlay(const double projection[16], const double view[16], const VDRect& viewport);

    // Where a world point appears in the window; false when it lies behind the eye.
    bool project(const Vector3& point, float& x, float& y) const;
    // The model whose block centre appears nearest the centre of the view, among those ahead of the eye
    // and inside the window; -1 when there is none.
    int nearestToCentre(const std::vector<VCCellView::DrawnModel>& models) const;
    // The models whose block centre appears inside the window, nearest the centre of the view first.
    std::vector<const VCCellView::DrawnModel*> inView(
        const std::vector<VCCellView::DrawnModel>& models) const;
    // The rectangle a model's block covers in the window; false when it is not wholly ahead of the eye.
    bool blockRectangle(const VCCellView::DrawnModel& model, VDRect& rectangle) const;
    // Where a model's name starts (its text's bottom-left corner), for a text of that size: just above the
    // block as it appears, from its left edge, so that no cube of the block lies under the name; or just
    // below it when the name would cover another block there (`others`, as blockRectangle gives them).
    // False when the block is not wholly ahead of the eye, or the name fits in the window neither place
    // without covering a block. The name stands clear of `numbers` too (the rectangles of the row and column
    // numbers written around the blocks): above them, or below them when it goes below the block.
    bool nameSpot(const VCCellView::DrawnModel& model, float textWidth, float textHeight,
                  const std::vector<VDRect>& others, float& x, float& y,
                  const std::vector<VDRect>& numbers = {}) const;

    // Names and legends, in the current theme's font (nothing is written without a theme); the key of
    // block colours (VDCellLegends::blockKey) last among the legends when given.
    void draw(const std::vector<VCCellView::DrawnModel>& models,
              const VCCellView::DrawnModel* key = nullptr) const;

    // Where the row and column numbers of the models are written, in window coordinates.
    std::vector<VDRect> numberRectangles(const std::vector<VCCellView::DrawnModel>& models, float charWidth,
                                         float charHeight) const;

    // The colour bar's place in the window when one legend is shown: right edge, centred vertically.
    VDRect barRectangle() const;

    // What labels the laid-out map of the run's layer `layer` (the stored one plus the origin): "z = 3".
    static std::string layerLabel(long long layer);

  private:
    // "z = k" above each map of a model whose layers are laid out, and above any number it would cover.
    void drawLayerLabels(const VCCellView::DrawnModel& model, const VDBitmapFont* font, float charWidth,
                         float charHeight, const std::vector<VDRect>& numbers) const;

    double m_projection[16];
    double m_view[16];
    VDRect m_viewport;
};
