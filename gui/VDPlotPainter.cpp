#include "gui/VDPlotPainter.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "gui/VDBitmapFont.h"
#include "gui/VDPlotPanel.h"

namespace {

void fill(float x1, float y1, float x2, float y2) {
    glBegin(GL_QUADS);
    glVertex2f(x1, y1);
    glVertex2f(x2, y1);
    glVertex2f(x2, y2);
    glVertex2f(x1, y2);
    glEnd();
}

void line(float ax, float ay, float bx, float by) {
    glBegin(GL_LINES);
    glVertex2f(ax, ay);
    glVertex2f(bx, by);
    glEnd();
}

}  // namespace

VDPlotPainter::VDPlotPainter(const VDBitmapFont* font, float r, float g, float b)
    : m_font(font), m_text{r, g, b} {}

void VDPlotPainter::draw(const VDPlotPanel& plot) const {
    // Quads of any winding: a band may run either way.
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    drawLegend(plot);
    if (plot.layout().usable) {
        drawAxes(plot);
        drawSeries(plot);
    }
    glPopAttrib();
}

void VDPlotPainter::drawAxes(const VDPlotPanel& plot) const {
    const VDPlotPanel::Layout parts = plot.layout();
    const VDRect& area = parts.plot;
    glColor4f(0.0f, 0.0f, 0.0f, 0.55f);
    fill(area.getX1(), area.getY1(), area.getX2(), area.getY2());

    const std::vector<double> xTicks = plot.xTicks();
    const std::vector<double> yTicks = plot.yTicks();
    // Layouts are worked out once: each costs a look at every point.
    glLineWidth(1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 0.12f);
    for (double tick : xTicks) {
        const float x = std::round(parts.x(tick)) + 0.5f;
        line(x, area.getY1(), x, area.getY2());
    }
    for (double tick : yTicks) {
        const float y = std::round(parts.y(tick)) + 0.5f;
        line(area.getX1(), y, area.getX2(), y);
    }
    glColor4f(m_text[0], m_text[1], m_text[2], 1.0f);
    line(area.getX1(), area.getY1(), area.getX2(), area.getY1());
    line(area.getX1(), area.getY1(), area.getX1(), area.getY2());
    if (m_font == nullptr) {
        return;
    }
    const float cw = plot.getCharWidth();
    const float ch = plot.getCharHeight();
    const VDRect panel = plot.getRectangle();
    for (double tick : yTicks) {
        const std::string text = VDPlotPanel::yLabel(tick);
        const float x = parts.yLabelRight - static_cast<float>(text.size()) * cw;
        drawText(m_font, static_cast<int>(x), static_cast<int>(parts.y(tick) - ch / 2.0f + 2.0f), text);
    }
    for (double tick : xTicks) {
        const std::string text = plot.xLabel(tick);
        const float width = static_cast<float>(text.size()) * cw;
        // Centred on its tick, but not past the panel's edges.
        const float x = std::clamp(parts.x(tick) - width / 2.0f, panel.getX1() + plot.getMargin(),
                                   panel.getX2() - plot.getMargin() - width);
        drawText(m_font, static_cast<int>(x), static_cast<int>(parts.xLabelBaseline), text);
    }
}

void VDPlotPainter::drawSeries(const VDPlotPanel& plot) const {
    const VDPlotPanel::Layout parts = plot.layout();
    const VDRect& area = parts.plot;
    const double first = parts.xFirst;
    const double last = parts.xLast;
    auto px = [&](double x) { return std::clamp(parts.x(x), area.getX1(), area.getX2()); };
    auto py = [&](double y) { return parts.y(y); };
    for (size_t s = 0; s < plot.getSeriesCount(); ++s) {
        const VDPlotPanel::Series& series = plot.getSeries(s);
        const float* colour = kSeriesColours[s % 4];
        const size_t count = series.x.size();
        // Point i holds from its x to the next point's, the last to the end of the axis.
        auto end = [&](size_t i) { return i + 1 < count ? series.x[i + 1] : std::max(last, series.x[i]); };
        if (series.hasBand()) {
            glColor4f(colour[0], colour[1], colour[2], 0.25f);
            for (size_t i = 0; i < count; ++i) {
                if (std::isfinite(series.low[i]) && std::isfinite(series.high[i])) {
                    fill(px(series.x[i]), py(series.low[i]), px(end(i)), py(series.high[i]));
                }
            }
        }
        glColor4f(colour[0], colour[1], colour[2], 1.0f);
        glLineWidth(2.0f);
        glBegin(GL_LINES);
        for (size_t i = 0; i < count; ++i) {
            if (!std::isfinite(series.y[i])) {
                continue;
            }
            const float y = py(series.y[i]);
            glVertex2f(px(series.x[i]), y);
            glVertex2f(px(end(i)), y);
            // The rise or fall to the next value.
            if (i + 1 < count && std::isfinite(series.y[i + 1])) {
                glVertex2f(px(series.x[i + 1]), y);
                glVertex2f(px(series.x[i + 1]), py(series.y[i + 1]));
            }
        }
        glEnd();
    }
    if (plot.hasCursor() && plot.getCursor() >= first && plot.getCursor() <= last) {
        glLineWidth(1.0f);
        glColor4f(1.0f, 1.0f, 1.0f, 0.9f);
        const float x = std::round(parts.x(plot.getCursor())) + 0.5f;
        line(x, area.getY1(), x, area.getY2());
    }
    glLineWidth(1.0f);
}

void VDPlotPainter::drawLegend(const VDPlotPanel& plot) const {
    const VDPlotPanel::Layout parts = plot.layout();
    const float cw = plot.getCharWidth();
    for (size_t s = 0; s < parts.legend.size(); ++s) {
        const VDRect& box = parts.legend[s];
        const float* colour = kSeriesColours[s % 4];
        glColor4f(colour[0], colour[1], colour[2], 1.0f);
        fill(box.getX1(), box.getY1() + 2.0f, box.getX1() + 2.0f * cw, box.getY2() - 2.0f);
        if (m_font != nullptr) {
            glColor4f(m_text[0], m_text[1], m_text[2], 1.0f);
            drawText(m_font, static_cast<int>(box.getX1() + 3.0f * cw), static_cast<int>(box.getY1() + 2.0f),
                     plot.getSeries(s).label);
        }
    }
}
