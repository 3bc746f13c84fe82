#pragma once

#include <string>
#include <vector>

#include "control/VCCellView.h"
#include "gui/VDWindow.h"
#include "scene/Vector3.h"

// The 2D layer over the drawn cells: each model's name next to its block, and a colour bar that shows,
// for the model drawn nearest the centre of the view, the ramp of its values with their minimum and
// maximum beside it. Drawn in the theme's 2D pass (window coordinates, y up) after the 3D picture.
class VDCellOverlay {
  public:
    // The projection and view matrices the 3D picture was drawn with; the picture fills `viewport`.
    VDCellOverlay(const double projection[16], const double view[16], const VDRect& viewport);

    // Where a world point appears in the window; false when it lies behind the eye.
    bool project(const Vector3& point, float& x, float& y) const;
    // The model whose block centre appears nearest the centre of the view, among those ahead of the eye
    // and inside the window; -1 when there is none.
    int nearestToCentre(const std::vector<VCCellView::DrawnModel>& models) const;
    // Where a model's name goes: just above the top-left corner of its block's front.
    static Vector3 labelAnchor(const VCCellView::DrawnModel& model);

    // Names and colour bar, in the current theme's font (nothing is written without a theme).
    void draw(const std::vector<VCCellView::DrawnModel>& models) const;

    // The colour bar's place in the window: right edge, centred vertically.
    static constexpr float kBarWidth = 14.0f;
    static constexpr float kBarHeight = 160.0f;
    static constexpr float kBarMargin = 24.0f;
    VDRect barRectangle() const;
    // The numbers written beside the bar.
    static std::string formatValue(double value);

  private:
    void drawLegend(const VCCellView::DrawnModel& model) const;

    double m_projection[16];
    double m_view[16];
    VDRect m_viewport;
};
