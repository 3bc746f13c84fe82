#pragma once

class VDBitmapFont;
class VDPlotPanel;

// How the default theme draws a plot's contents (VDPlotPanel::Layout gives the places): a dark plot area
// with faint grid lines at the ticks, the axes and their labels, each series in its own colour (a band as
// a shade behind its line), the cursor as a white vertical line, and the legend.
class VDPlotPainter {
  public:
    // Series colours, in the order the series were added.
    static constexpr float kSeriesColours[4][3] = {
        {1.0f, 0.75f, 0.2f}, {0.35f, 0.75f, 1.0f}, {1.0f, 0.45f, 0.6f}, {0.55f, 0.95f, 0.4f}};

    // Text in `font` (may be null: no text) and the colour of labels.
    VDPlotPainter(const VDBitmapFont* font, float r, float g, float b);
    void draw(const VDPlotPanel& plot) const;

  private:
    void drawAxes(const VDPlotPanel& plot) const;
    void drawSeries(const VDPlotPanel& plot) const;
    void drawLegend(const VDPlotPanel& plot) const;

    const VDBitmapFont* m_font;
    float m_text[3];
};
