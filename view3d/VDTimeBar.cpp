#include "view3d/VDTimeBar.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "control/VCSimulation.h"
#include "gui/VDBitmapFont.h"
#include "gui/VDDefaultTheme.h"
#include "gui/VDEvent.h"
#include "gui/VDThemeStore.h"
#include "gui/VDUtf8.h"
#include "simdata/SDTime.h"

namespace {

void fill(float x1, float y1, float x2, float y2) {
    glBegin(GL_QUADS);
    glVertex2f(x1, y1);
    glVertex2f(x2, y1);
    glVertex2f(x2, y2);
    glVertex2f(x1, y2);
    glEnd();
}

}  // namespace

VDTimeBar::VDTimeBar() {
    setOrientation(HORIZONTAL);
    setPointerPlacesThumb(true);
}

VDTimeBar::~VDTimeBar() = default;

bool VDTimeBar::handleEvent(VDEvent* event) {
    // Nothing to show or to move: the bar neither draws nor takes the pointer.
    if (!m_hasRun && (event->getType() == VDEvent::REDISPLAY || event->getType() == VDEvent::MOUSE_DOWN)) {
        return false;
    }
    if (event->getType() == VDEvent::REDISPLAY) {
        draw();
        return dispatch(event);
    }
    if (auto* move = dynamic_cast<VDMouseMoveEvent*>(event)) {
        const float x = static_cast<float>(move->getX());
        const bool over = m_hasRun && m_rect.contains(x, static_cast<float>(move->getY()));
        if (over != m_hovering || (over && x != m_hoverX)) {
            m_hovering = over;
            m_hoverX = x;
            // The time shown is worked out when the frame follows the run.
            requestRedisplay();
        }
    }
    return VDScrollBar::handleEvent(event);
}

void VDTimeBar::follow(VCSimulation* simulation) {
    const size_t count = simulation != nullptr ? simulation->timeCount() : 0;
    m_hasRun = count > 0;
    if (!m_hasRun) {
        setMax(0);
        showValue(0);
        m_ticks.clear();
        m_tickedTimes = 0;
        m_hovering = false;
        return;
    }
    m_first = simulation->timeAt(0);
    m_last = simulation->timeAt(count - 1);
    const double span = m_last - m_first;
    // A run at one time has nowhere to go: the thumb fills the bar.
    if (getMax() != (span > 0.0 ? kResolution : 0)) {
        setMax(span > 0.0 ? kResolution : 0);
    }
    // The ticks are counted again only when the run or the bar's width changed.
    const int columns = tickColumns();
    if (count != m_tickedTimes || m_first != m_tickedFirst || m_last != m_tickedLast ||
        columns != m_tickedColumns || simulation->getRunRevision() != m_tickedRun) {
        std::vector<double> times(count);
        for (size_t i = 0; i < count; ++i) {
            times[i] = simulation->timeAt(i);
        }
        m_ticks = tickCounts(times, m_first, m_last, columns);
        m_tickedTimes = count;
        m_tickedFirst = m_first;
        m_tickedLast = m_last;
        m_tickedColumns = columns;
        m_tickedRun = simulation->getRunRevision();
    }
    double hovered = 0.0;
    if (m_hovering && eventTimeAt(*simulation, valueAt(m_hoverX, m_rect.getY1()), hovered)) {
        m_hoverText = SDTime(hovered).toString();
    }
    if (span <= 0.0) {
        showValue(0);
        return;
    }
    const double place = (simulation->currentTime() - m_first) / span * kResolution;
    showValue(place <= 0.0 ? 0 : place >= kResolution ? kResolution : static_cast<int>(std::lround(place)));
}

bool VDTimeBar::eventTimeAt(VCSimulation& simulation, int value, double& milliseconds) const {
    if (!m_hasRun) {
        return false;
    }
    return simulation.nearestEventTime(m_first + (m_last - m_first) * value / kResolution, milliseconds);
}

std::vector<uint32_t> VDTimeBar::tickCounts(const std::vector<double>& times, double first, double last,
                                            int columns) {
    std::vector<uint32_t> counts(static_cast<size_t>(std::max(columns, 0)), 0);
    if (counts.empty()) {
        return counts;
    }
    const double span = last - first;
    for (double time : times) {
        if (!(time >= first && time <= last)) {
            continue;
        }
        // A run at one time puts its one tick in the middle.
        const double along = span > 0.0 ? (time - first) / span : 0.5;
        const auto column = static_cast<size_t>(std::lround(along * static_cast<double>(columns - 1)));
        ++counts[std::min(column, counts.size() - 1)];
    }
    return counts;
}

float VDTimeBar::tickStart() const {
    return m_rect.getX1() + std::floor(getThumbSize() / 2.0f);
}

int VDTimeBar::tickColumns() const {
    // Where the thumb's middle can stand: the bar less a thumb.
    return std::max(1, static_cast<int>(std::floor(m_rect.getWidth() - getThumbSize())) + 1);
}

void VDTimeBar::draw() const {
    const float x1 = m_rect.getX1();
    const float y1 = m_rect.getY1();
    const float x2 = m_rect.getX2();
    const float y2 = m_rect.getY2();
    // The track as the theme draws a scroll bar's.
    glColor4f(0.0f, 0.0f, 0.0f, 0.5f);
    fill(x1, y1, x2, y2);
    const VDRect thumb = getThumbRect();
    glColor4f(1.0f, 1.0f, 1.0f, 0.35f);
    fill(thumb.getX1(), y1, thumb.getX2(), y2);

    // One pixel column per place a time can have; a column that many times share is brighter.
    uint32_t most = 0;
    for (uint32_t count : m_ticks) {
        most = std::max(most, count);
    }
    const float start = tickStart();
    glBegin(GL_QUADS);
    for (size_t column = 0; column < m_ticks.size(); ++column) {
        if (m_ticks[column] == 0) {
            continue;
        }
        const float shade =
            most <= 1 ? 1.0f : 0.3f + 0.7f * static_cast<float>(m_ticks[column]) / static_cast<float>(most);
        glColor4f(1.0f, 0.8f, 0.3f, shade);
        const float x = start + static_cast<float>(column);
        glVertex2f(x, y1 + 1.0f);
        glVertex2f(x + 1.0f, y1 + 1.0f);
        glVertex2f(x + 1.0f, y2 - 1.0f);
        glVertex2f(x, y2 - 1.0f);
    }
    glEnd();

    // The current time: a bright line in the thumb's middle.
    const float middle = std::floor((thumb.getX1() + thumb.getX2()) / 2.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    fill(middle - 1.0f, y1, middle + 1.0f, y2);

    const auto* theme = dynamic_cast<const VDDefaultTheme*>(currentTheme());
    const VDBitmapFont* font = theme != nullptr ? theme->getTextFont() : nullptr;
    if (!m_hovering || m_hoverText.empty() || font == nullptr) {
        return;
    }
    // Below the bar, centred on the pointer, inside the bar's reach.
    const float width = static_cast<float>(VDUtf8::length(m_hoverText)) * theme->getCharWidth() + 8.0f;
    const float height = theme->getCharHeight() + 6.0f;
    const float left = std::clamp(m_hoverX - width / 2.0f, x1, std::max(x1, x2 - width));
    const float top = y1 - 3.0f;
    glColor4f(0.1f, 0.1f, 0.1f, 0.9f);
    fill(left, top - height, left + width, top);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawText(font, static_cast<int>(left + 4.0f), static_cast<int>(top - height + 4.0f), m_hoverText);
}
