#include "gui/VDScrollBar.h"

#include <cmath>

#include "gui/VDEvent.h"
#include "gui/VDThemeStore.h"

VDScrollBar::VDScrollBar() {
    updateThumbSize();
}

VDScrollBar::~VDScrollBar() = default;

void VDScrollBar::setValue(int value) {
    if (value == m_value) {
        return;
    }
    m_value = clamp(value);
    VDScrollValueEvent changed(m_id, m_value);
    dispatch(&changed);
}

void VDScrollBar::showValue(int value) {
    m_value = clamp(value);
}

int VDScrollBar::clamp(int value) const {
    return value < 0 ? 0 : (value > m_max ? m_max : value);
}

int VDScrollBar::valueAt(float x, float y) const {
    const float travel = step();
    if (travel <= 0.0f) {
        return 0;
    }
    // How far the thumb's near edge would be from the bar's start with its middle at the point.
    const float along = m_orientation == VERTICAL ? m_rect.getY2() - y : x - m_rect.getX1();
    const double value = std::round(static_cast<double>(along - m_thumbSize / 2.0f) / travel);
    return value <= 0.0 ? 0 : (value >= m_max ? m_max : static_cast<int>(value));
}

void VDScrollBar::setMax(int max) {
    m_max = max;
    updateThumbSize();
}

void VDScrollBar::setOrientation(int orientation) {
    m_orientation = orientation;
    updateThumbSize();
}

void VDScrollBar::setRectangle(const VDRect& rect) {
    m_rect.copyFrom(rect);
    updateThumbSize();
}

void VDScrollBar::updateThumbSize() {
    int d = m_max;
    if (d < 2) {
        d = 2;
    } else if (d > 20) {
        d = 20;
    }
    const float length = m_orientation == VERTICAL ? m_rect.getHeight() : m_rect.getWidth();
    // Nothing to scroll: the thumb fills the bar.
    m_thumbSize = m_max <= 0 ? length : length / static_cast<float>(d);
}

float VDScrollBar::step() const {
    if (m_max <= 0) {
        return 0.0f;
    }
    const float length = m_orientation == VERTICAL ? m_rect.getHeight() : m_rect.getWidth();
    return (length - m_thumbSize) / static_cast<float>(m_max);
}

VDRect VDScrollBar::getThumbRect() const {
    const float offset = static_cast<float>(m_value) * step();
    if (m_orientation == VERTICAL) {
        return VDRect(m_rect.getX1(), m_rect.getY2() - offset - m_thumbSize, m_rect.getX2(),
                      m_rect.getY2() - offset);
    }
    // Horizontal bars run from the left edge: value 0 puts the thumb against it.
    return VDRect(m_rect.getX1() + offset, m_rect.getY1(), m_rect.getX1() + offset + m_thumbSize,
                  m_rect.getY2());
}

bool VDScrollBar::handleEvent(VDEvent* event) {
    const int type = event->getType();
    if (type == VDEvent::REDISPLAY) {
        if (VDTheme* theme = currentTheme()) {
            theme->drawScrollBar(this);
        }
    } else if (type == VDEvent::MOUSE_MOVE) {
        auto* move = dynamic_cast<VDMouseMoveEvent*>(event);
        if (move != nullptr && m_dragging && m_pointerPlacesThumb) {
            setValue(valueAt(static_cast<float>(move->getX()), static_cast<float>(move->getY())));
            requestRedisplay();
        } else if (move != nullptr && m_dragging &&
                   m_rect.contains(static_cast<float>(move->getX()), static_cast<float>(move->getY()))) {
            // The travel the thumb can make stands for the whole range; a bar with nothing to scroll or no
            // room to move stays where it is.
            const bool vertical = m_orientation == VERTICAL;
            const float travel = (vertical ? m_rect.getHeight() : m_rect.getWidth()) - m_thumbSize;
            if (m_max > 0 && travel > 0.0f) {
                const float moved = vertical ? m_grabY - static_cast<float>(move->getY())
                                             : static_cast<float>(move->getX()) - m_grabY;
                double value = std::trunc(m_grabValue +
                                          static_cast<double>(moved) * m_max / static_cast<double>(travel));
                // Limited here already: a far drag over a short travel must not overflow the int.
                if (value < 0) {
                    value = 0;
                } else if (value > m_max) {
                    value = m_max;
                }
                setValue(static_cast<int>(value));
            }
            requestRedisplay();
        }
    } else if (type == VDEvent::MOUSE_DOWN) {
        auto* down = dynamic_cast<VDMouseDownEvent*>(event);
        const float x = down != nullptr ? static_cast<float>(down->getX()) : 0.0f;
        const float y = down != nullptr ? static_cast<float>(down->getY()) : 0.0f;
        if (down != nullptr && m_pointerPlacesThumb && inputTheme().isScrollButton(down->getButton()) &&
            m_rect.contains(x, y)) {
            m_dragging = true;
            setValue(valueAt(x, y));
            m_grabValue = m_value;
            m_grabY = m_orientation == VERTICAL ? y : x;
            requestRedisplay();
            return true;
        }
        if (down != nullptr && inputTheme().isScrollButton(down->getButton()) &&
            getThumbRect().contains(x, y)) {
            m_dragging = true;
            m_grabValue = m_value;
            m_grabY = static_cast<float>(m_orientation == VERTICAL ? down->getY() : down->getX());
            return true;
        }
    } else if (type == VDEvent::MOUSE_UP) {
        auto* up = dynamic_cast<VDMouseUpEvent*>(event);
        if (up != nullptr && inputTheme().isScrollButton(up->getButton())) {
            m_dragging = false;
        }
    }
    if (dispatch(event)) {
        return true;
    }
    return VDWindow::handleEvent(event);
}

void VDScrollBar::inputLost() {
    m_dragging = false;
    VDWindow::inputLost();
}
