#include "gui/VDPlotPanel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "gui/VDEvent.h"
#include "gui/VDPlotPickEvent.h"
#include "gui/VDTextButton.h"
#include "gui/VDThemeStore.h"
#include "gui/VDUtf8.h"
#include "shell/LogFormat.h"

namespace {

// Room around the plot: inside the frame, between the legend and the plot, above the x labels.
constexpr float kPadding = 4.0f;

}  // namespace

VDPlotPanel::VDPlotPanel() {
    setTitle("Values over time");
    setCloseButton(true);
    // Over a busy 3D picture its lines would be lost.
    setOpaque(true);
}

VDPlotPanel::~VDPlotPanel() = default;

bool VDPlotPanel::addSeries(Series series) {
    if (m_series.size() >= kMaxSeries) {
        return false;
    }
    m_series.push_back(std::move(series));
    return true;
}

void VDPlotPanel::replaceSeries(size_t index, Series series) {
    if (index < m_series.size()) {
        m_series[index] = std::move(series);
    }
}

void VDPlotPanel::removeSeries(size_t index) {
    if (index < m_series.size()) {
        m_series.erase(m_series.begin() + static_cast<long>(index));
    }
}

void VDPlotPanel::clearSeries() {
    m_series.clear();
}

void VDPlotPanel::setXSpan(double first, double last) {
    m_hasXSpan = std::isfinite(first) && std::isfinite(last) && last > first;
    m_xFirst = first;
    m_xLast = last;
}

void VDPlotPanel::setCursor(double x) {
    m_hasCursor = std::isfinite(x);
    m_cursor = x;
}

void VDPlotPanel::setTextSize(float charWidth, float charHeight) {
    if (charWidth > 0.0f && charHeight > 0.0f) {
        m_charWidth = charWidth;
        m_charHeight = charHeight;
    }
}

void VDPlotPanel::xSpan(double& first, double& last) const {
    if (m_hasXSpan) {
        first = m_xFirst;
        last = m_xLast;
        return;
    }
    bool any = false;
    for (const Series& series : m_series) {
        for (double x : series.x) {
            if (std::isfinite(x)) {
                first = any ? std::min(first, x) : x;
                last = any ? std::max(last, x) : x;
                any = true;
            }
        }
    }
    if (!any) {
        first = 0.0;
        last = 1.0;
    } else if (last <= first) {
        first -= 1.0;
        last += 1.0;
    }
}

void VDPlotPanel::ySpan(double& low, double& high) const {
    bool any = false;
    auto take = [&](double y) {
        if (std::isfinite(y)) {
            low = any ? std::min(low, y) : y;
            high = any ? std::max(high, y) : y;
            any = true;
        }
    };
    for (const Series& series : m_series) {
        for (double y : series.y) {
            take(y);
        }
        if (series.hasBand()) {
            for (double y : series.low) {
                take(y);
            }
            for (double y : series.high) {
                take(y);
            }
        }
    }
    if (!any) {
        low = 0.0;
        high = 1.0;
        return;
    }
    // Steps at the very top and bottom would lie on the frame.
    const double margin = high > low ? (high - low) * 0.08 : (low != 0.0 ? std::fabs(low) * 0.1 : 1.0);
    low -= margin;
    high += margin;
}

std::vector<double> VDPlotPanel::niceTicks(double low, double high, int most) {
    std::vector<double> ticks;
    if (!std::isfinite(low) || !std::isfinite(high) || high <= low) {
        return ticks;
    }
    most = std::max(most, 2);
    const double rough = (high - low) / (most - 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * power;
        if (step >= rough) {
            break;
        }
    }
    // Counted, not stepped: far from 0 a step can be too small to change the value it is added to.
    const double start = std::ceil(low / step);
    for (int i = 0; i <= most; ++i) {
        const double tick = (start + i) * step;
        if (!(tick <= high + step * 1e-9)) {
            break;
        }
        if (ticks.empty() || tick > ticks.back()) {
            ticks.push_back(tick == 0.0 ? 0.0 : tick);  // no "-0"
        }
    }
    return ticks;
}

std::string VDPlotPanel::xLabel(double x) const {
    if (m_xFormatter) {
        return m_xFormatter(x);
    }
    return yLabel(x);
}

std::string VDPlotPanel::yLabel(double y) {
    return numberText(y);
}

VDPlotPanel::Layout VDPlotPanel::layout() const {
    Layout out;
    const float cw = m_charWidth;
    const float ch = m_charHeight;
    const float left = m_rect.getX1() + m_margin + kPadding;
    const float right = m_rect.getX2() - m_margin - kPadding;
    const float top = m_rect.getY2() - m_margin - m_titleHeight - kPadding;

    // The legend: a swatch and the label for each series, in rows as wide as the panel.
    float x = left;
    float rowTop = top;
    for (const Series& series : m_series) {
        const float width = (static_cast<float>(VDUtf8::length(series.label)) + 3.0f) * cw;
        if (x > left && x + width > right) {
            x = left;
            rowTop -= ch + kPadding;
        }
        out.legend.emplace_back(x, rowTop - ch, x + width, rowTop);
        x += width + 2.0f * cw;
    }
    out.legendTop = top;
    const float plotTop = m_series.empty() ? top : rowTop - ch - 2.0f * kPadding;
    const float plotBottom = m_rect.getY1() + m_margin + ch + 2.0f * kPadding;
    out.xLabelBaseline = m_rect.getY1() + m_margin + kPadding;

    // The plot's height sets how many values the vertical axis names, and their width how far the plot
    // starts from the left.
    size_t widest = 0;
    xSpan(out.xFirst, out.xLast);
    ySpan(out.yLow, out.yHigh);
    const double low = out.yLow;
    const double high = out.yHigh;
    const int yCount = static_cast<int>((plotTop - plotBottom) / (2.0f * ch + kPadding));
    for (double tick : niceTicks(low, high, yCount)) {
        widest = std::max(widest, yLabel(tick).size());
    }
    const float plotLeft = left + static_cast<float>(widest) * cw + 2.0f * kPadding;
    out.yLabelRight = plotLeft - kPadding;
    out.plot = VDRect(plotLeft, plotBottom, right - 2.0f * kPadding, plotTop);
    out.usable = out.plot.getWidth() >= 20.0f && out.plot.getHeight() >= 20.0f;
    return out;
}

float VDPlotPanel::Layout::x(double value) const {
    return plot.getX1() + static_cast<float>((value - xFirst) / (xLast - xFirst)) * plot.getWidth();
}

float VDPlotPanel::Layout::y(double value) const {
    return plot.getY1() + static_cast<float>((value - yLow) / (yHigh - yLow)) * plot.getHeight();
}

float VDPlotPanel::pixelX(double x) const {
    return layout().x(x);
}

float VDPlotPanel::pixelY(double y) const {
    return layout().y(y);
}

double VDPlotPanel::xAt(float px) const {
    const VDRect plot = layout().plot;
    double first = 0.0;
    double last = 0.0;
    xSpan(first, last);
    if (plot.getWidth() <= 0.0f) {
        return first;
    }
    const double along = std::clamp(static_cast<double>((px - plot.getX1()) / plot.getWidth()), 0.0, 1.0);
    return first + along * (last - first);
}

std::vector<double> VDPlotPanel::xTicks() const {
    const VDRect plot = layout().plot;
    double first = 0.0;
    double last = 0.0;
    xSpan(first, last);
    const size_t chars = std::max(xLabel(first).size(), xLabel(last).size());
    const int count = static_cast<int>(plot.getWidth() / ((static_cast<float>(chars) + 1.0f) * m_charWidth));
    return niceTicks(first, last, count);
}

std::vector<double> VDPlotPanel::yTicks() const {
    const VDRect plot = layout().plot;
    double low = 0.0;
    double high = 0.0;
    ySpan(low, high);
    return niceTicks(low, high, static_cast<int>(plot.getHeight() / (2.0f * m_charHeight + kPadding)));
}

void VDPlotPanel::keepInside(const VDRect& bounds) {
    const float width = std::min(m_rect.getWidth(), bounds.getWidth());
    const float height = std::min(m_rect.getHeight(), bounds.getHeight());
    const float x1 = std::clamp(m_rect.getX1(), bounds.getX1(), bounds.getX2() - width);
    const float y1 = std::clamp(m_rect.getY1(), bounds.getY1(), bounds.getY2() - height);
    if (x1 != m_rect.getX1() || y1 != m_rect.getY1() || width != m_rect.getWidth() ||
        height != m_rect.getHeight()) {
        setRectangle(VDRect(x1, y1, x1 + width, y1 + height));
    }
}

void VDPlotPanel::pick(float x) {
    VDPlotPickEvent picked(m_id, xAt(x));
    dispatch(&picked);
}

bool VDPlotPanel::handleEvent(VDEvent* event) {
    switch (event->getType()) {
        case VDEvent::REDISPLAY: {
            const bool handled = VDPanel::handleEvent(event);
            if (VDTheme* theme = currentTheme()) {
                theme->drawPlot(this);
            }
            return handled;
        }
        case VDEvent::BUTTON_PRESS: {
            // Only the close button raises presses here; the parent closes the panel.
            VDCloseEvent close(m_id);
            dispatch(&close);
            return true;
        }
        case VDEvent::MOUSE_DOWN: {
            auto* down = dynamic_cast<VDMouseDownEvent*>(event);
            if (down == nullptr) {
                break;
            }
            const float x = static_cast<float>(down->getX());
            const float y = static_cast<float>(down->getY());
            const Layout parts = layout();
            if (down->getButton() == VDMouseButtonEvent::LEFT && parts.usable && parts.plot.contains(x, y)) {
                m_picking = true;
                pick(x);
                requestRedisplay();
                return true;
            }
            break;
        }
        case VDEvent::MOUSE_MOVE: {
            auto* move = dynamic_cast<VDMouseMoveEvent*>(event);
            if (move == nullptr) {
                break;
            }
            if (m_picking) {
                pick(static_cast<float>(move->getX()));
                requestRedisplay();
                return true;
            }
            if (m_dragging) {
                // Dragged by the title bar, the panel follows the pointer as far as its parent reaches.
                const float x = static_cast<float>(move->getX());
                const float y = static_cast<float>(move->getY());
                VDRect moved = m_rect;
                moved.translate(x - m_grabX, y - m_grabY);
                m_grabX = x;
                m_grabY = y;
                setRectangle(moved);
                if (const VDWindow* parent = getParent()) {
                    keepInside(parent->getRectangle());
                }
                requestRedisplay();
                return true;
            }
            break;
        }
        case VDEvent::MOUSE_UP: {
            auto* up = dynamic_cast<VDMouseUpEvent*>(event);
            if (up != nullptr && m_picking && up->getButton() == VDMouseButtonEvent::LEFT) {
                m_picking = false;
                return true;
            }
            break;
        }
        default:
            break;
    }
    const bool handled = VDPanel::handleEvent(event);
    if (m_resizeEdges != 0) {
        if (const VDWindow* parent = getParent()) {
            keepInside(parent->getRectangle());
        }
    }
    return handled;
}

void VDPlotPanel::inputLost() {
    m_picking = false;
    VDPanel::inputLost();
}
