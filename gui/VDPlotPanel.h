#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gui/VDPanel.h"

// A panel that plots up to kMaxSeries series against a common horizontal axis, as steps: each value holds
// from its x until the next point's, the last until the end of the axis. A series may carry a band (a low
// and a high value at each point), drawn shaded behind its line. The panel draws axes with tick labels, a
// legend and, when set, a vertical cursor line. It is opaque: nothing under it shows through.
//
// It has a close button, is dragged by its title bar and resized by its edges, and stays inside its parent.
// A press in the plot, and a drag along it, raise VDPlotPickEvents with the x under the pointer; the close
// button raises a VDCloseEvent. Both go up to the parent, which decides what they mean.
class VDPlotPanel : public VDPanel {
  public:
    static constexpr size_t kMaxSeries = 4;

    struct Series {
        std::string label;
        std::vector<double> x;  // ascending
        std::vector<double> y;  // NaN: no value from that x to the next
        // Empty, or one low and one high value per point.
        std::vector<double> low;
        std::vector<double> high;

        bool hasBand() const { return !low.empty() && low.size() == x.size() && high.size() == x.size(); }
    };

    // Where the parts of the panel go, for the text size of the theme that draws it.
    struct Layout {
        VDRect plot;  // the area the steps are drawn in
        float legendTop = 0.0f;
        std::vector<VDRect> legend;  // one box per series: its colour swatch and label
        float xLabelBaseline = 0.0f;
        float yLabelRight = 0.0f;
        bool usable = false;  // room enough to plot in
        // The axes' spans, and where a value goes in the plot.
        double xFirst = 0.0;
        double xLast = 1.0;
        double yLow = 0.0;
        double yHigh = 1.0;
        float x(double value) const;
        float y(double value) const;
    };

    VDPlotPanel();
    ~VDPlotPanel() override;

    bool handleEvent(VDEvent* event) override;
    void inputLost() override;

    // False, with nothing added, once kMaxSeries are held.
    bool addSeries(Series series);
    // Replaces the series at `index` (below getSeriesCount()).
    void replaceSeries(size_t index, Series series);
    void removeSeries(size_t index);
    void clearSeries();
    size_t getSeriesCount() const { return m_series.size(); }
    const Series& getSeries(size_t index) const { return m_series[index]; }

    // The span the horizontal axis covers; without one (or an empty one) it spans the series' points.
    void setXSpan(double first, double last);
    // How x values are written under the axis ("%g" unless set).
    void setXFormatter(std::function<std::string(double)> formatter) { m_xFormatter = std::move(formatter); }
    void setCursor(double x);
    void clearCursor() { m_hasCursor = false; }
    bool hasCursor() const { return m_hasCursor; }
    double getCursor() const { return m_cursor; }

    // The size of a character of the theme's text, which the layout is made for.
    void setTextSize(float charWidth, float charHeight);
    float getCharWidth() const { return m_charWidth; }
    float getCharHeight() const { return m_charHeight; }

    Layout layout() const;
    // The axes' spans: x as set (or from the points), y over every finite value with a margin.
    void xSpan(double& first, double& last) const;
    void ySpan(double& low, double& high) const;
    float pixelX(double x) const;
    float pixelY(double y) const;
    // The x at a horizontal place in the plot, within the span.
    double xAt(float pixelX) const;
    std::vector<double> xTicks() const;
    std::vector<double> yTicks() const;
    std::string xLabel(double x) const;
    static std::string yLabel(double y);
    // At most `most` (at least 2) round values (1, 2 or 5 times a power of ten apart) from low to high.
    static std::vector<double> niceTicks(double low, double high, int most);

    // Moves (and if need be shrinks) the panel so that it lies inside `bounds`.
    void keepInside(const VDRect& bounds);
    bool isPicking() const { return m_picking; }

  private:
    void pick(float x);

    std::vector<Series> m_series;
    bool m_hasXSpan = false;
    double m_xFirst = 0.0;
    double m_xLast = 0.0;
    std::function<std::string(double)> m_xFormatter;
    bool m_hasCursor = false;
    double m_cursor = 0.0;
    float m_charWidth = 7.0f;
    float m_charHeight = 13.0f;
    bool m_picking = false;
};
