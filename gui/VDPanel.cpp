#include "gui/VDPanel.h"

#include "gui/VDEvent.h"
#include "gui/VDTextButton.h"
#include "gui/VDThemeStore.h"

VDPanel::VDPanel() = default;
VDPanel::~VDPanel() = default;

void VDPanel::setCloseButton(bool on) {
    if (on && m_closeButton == nullptr) {
        m_closeButton = std::make_unique<VDTextButton>();
        m_closeButton->setCaption("X");
        m_closeButton->setParent(this);
        setRectangle(m_rect);
    } else if (!on) {
        m_closeButton.reset();
    }
}

void VDPanel::setRectangle(const VDRect& rect) {
    if (m_closeButton != nullptr) {
        m_closeButton->setRectangle(
            VDRect(rect.getX2() - 22, rect.getY2() - 22, rect.getX2() - 4, rect.getY2() - 4));
    }
    VDWindow::setRectangle(rect);
}

bool VDPanel::inTitleBar(float x, float y) const {
    const float m = m_margin;
    return VDRect(m_rect.getX1() + m, m_rect.getY2() - m - m_titleHeight, m_rect.getX2() - m,
                  m_rect.getY2() - m)
        .contains(x, y);
}

int VDPanel::edgesAt(float x, float y) const {
    const float m = m_margin;
    const float x1 = m_rect.getX1();
    const float y1 = m_rect.getY1();
    const float x2 = m_rect.getX2();
    const float y2 = m_rect.getY2();
    int edges = 0;
    if (VDRect(x1, y1, x1 + m, y2).contains(x, y)) {
        edges |= EDGE_LEFT;
    } else if (VDRect(x2 - m, y1, x2, y2).contains(x, y)) {
        edges |= EDGE_RIGHT;
    }
    if (VDRect(x1, y1, x2, y1 + m).contains(x, y)) {
        edges |= EDGE_BOTTOM;
    } else if (VDRect(x1, y2 - m, x2, y2).contains(x, y)) {
        edges |= EDGE_TOP;
    }
    return edges;
}

bool VDPanel::handleEvent(VDEvent* event) {
    const int type = event->getType();
    if (type == VDEvent::REDISPLAY) {
        if (VDTheme* theme = currentTheme()) {
            theme->drawPanel(this);
        }
    }
    if (m_closeButton != nullptr && event->getRouting() == VDEvent::ROUTE_DOWN) {
        m_closeButton->handleEvent(event);
    }

    if (type == VDEvent::MOUSE_MOVE) {
        if (auto* move = dynamic_cast<VDMouseMoveEvent*>(event)) {
            const float x = static_cast<float>(move->getX());
            const float y = static_cast<float>(move->getY());
            if (m_dragging) {
                VDRect moved = m_rect;
                moved.translate(x - m_grabX, y - m_grabY);
                m_grabX = x;
                m_grabY = y;
                // The panel may not leave the window to the left or below, nor to the right or above, where
                // its title bar could no longer be grabbed. A panel already sticking out of a window made
                // smaller may still move, just not further out.
                bool inside = moved.getX1() >= 0 && moved.getY1() >= 0;
                if (const VDWindow* parent = getParent()) {
                    const VDRect bounds = parent->getRectangle();
                    inside = inside && (moved.getX2() <= bounds.getX2() || moved.getX2() <= m_rect.getX2()) &&
                             (moved.getY2() <= bounds.getY2() || moved.getY2() <= m_rect.getY2());
                }
                if (inside) {
                    setRectangle(moved);
                    requestRedisplay();
                }
            } else if (m_resizeEdges != 0) {
                const float limit = getMinimumSize();
                VDRect r = m_rect;
                if (m_resizeEdges & EDGE_LEFT) {
                    float x1 = x;
                    if (x1 > r.getX2() - limit) {
                        x1 = r.getX2() - limit;
                    }
                    if (x1 < 0) {
                        x1 = 0;
                    }
                    r.setX1(x1);
                } else if (m_resizeEdges & EDGE_RIGHT) {
                    r.setX2(x < r.getX1() + limit ? r.getX1() + limit : x);
                }
                if (m_resizeEdges & EDGE_TOP) {
                    r.setY2(y < r.getY1() + limit ? r.getY1() + limit : y);
                } else if (m_resizeEdges & EDGE_BOTTOM) {
                    float y1 = y;
                    if (y1 > r.getY2() - limit) {
                        y1 = r.getY2() - limit;
                    }
                    if (y1 < 0) {
                        y1 = 0;
                    }
                    r.setY1(y1);
                }
                setRectangle(r);
                requestRedisplay();
            } else {
                int highlight = 0;
                if (m_movable && inTitleBar(x, y)) {
                    highlight |= TITLE_BAR;
                }
                if (m_resizable) {
                    highlight |= edgesAt(x, y);
                }
                if (highlight != m_highlight) {
                    m_highlight = highlight;
                    requestRedisplay();
                }
            }
        }
    } else if (type == VDEvent::MOUSE_DOWN) {
        if (auto* down = dynamic_cast<VDMouseDownEvent*>(event)) {
            const float x = static_cast<float>(down->getX());
            const float y = static_cast<float>(down->getY());
            if (m_movable && inputTheme().isMoveButton(down->getButton())) {
                m_dragging = false;
                if (inTitleBar(x, y)) {
                    m_dragging = true;
                    m_grabX = x;
                    m_grabY = y;
                    return true;
                }
            }
            if (m_resizable && inputTheme().isResizeButton(down->getButton())) {
                const int edges = edgesAt(x, y);
                if (edges != m_resizeEdges) {
                    m_resizeEdges = edges;
                    return true;
                }
            }
        }
    } else if (type == VDEvent::MOUSE_UP) {
        if (auto* up = dynamic_cast<VDMouseUpEvent*>(event)) {
            if (m_resizeEdges != 0 && inputTheme().isResizeButton(up->getButton())) {
                m_resizeEdges = 0;
            }
            if (m_dragging && inputTheme().isMoveButton(up->getButton())) {
                m_dragging = false;
            }
        }
    }

    if (dispatch(event)) {
        return true;
    }
    return VDWindow::handleEvent(event);
}

void VDPanel::inputLost() {
    m_dragging = false;
    m_resizeEdges = 0;
    VDWindow::inputLost();
}
