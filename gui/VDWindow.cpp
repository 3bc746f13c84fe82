#include "gui/VDWindow.h"

#include "gui/VDEvent.h"
#include "gui/VDThemeStore.h"
#include "shell/Log.h"

VDWindow::VDWindow() = default;

VDWindow::~VDWindow() {
    for (auto& child : m_children) {
        removeListener(child.get());
    }
    m_children.clear();
}

bool VDWindow::handleEvent(VDEvent* event) {
    if (!m_enabled) {
        logMessage("Inactive window sent a message");
        return false;
    }
    const int count = getChildCount();
    switch (event->getType()) {
        case VDEvent::MOUSE_DOWN: {
            auto* down = dynamic_cast<VDMouseDownEvent*>(event);
            if (down == nullptr) {
                logMessage("Invalid mouse down event recieved");
                return true;
            }
            if (inputTheme().isSelectButton(down->getButton())) {
                const float x = static_cast<float>(down->getX());
                const float y = static_cast<float>(down->getY());
                for (int i = 0; i < count; ++i) {
                    if (m_children[i]->m_rect.contains(x, y)) {
                        m_focusIndex = i;
                        break;
                    }
                }
            }
            return false;
        }
        case VDEvent::KEY_DOWN: {
            auto* down = dynamic_cast<VDKeyDownEvent*>(event);
            if (down == nullptr) {
                logMessage("Invalid key down event received");
                return false;
            }
            const VDTheme& theme = inputTheme();
            if (theme.isNextFocusKey(down->getKey())) {
                ++m_focusIndex;
                if (m_focusIndex >= count) {
                    m_focusIndex = 0;
                }
            }
            if (theme.isPreviousFocusKey(down->getKey())) {
                --m_focusIndex;
                if (m_focusIndex < 0) {
                    m_focusIndex = count - 1;
                }
            }
            return false;
        }
        default:
            return false;
    }
}

void VDWindow::initialise() {}

void VDWindow::inputLost() {
    for (const std::unique_ptr<VDWindow>& child : m_children) {
        child->inputLost();
    }
}

void VDWindow::setRectangle(const VDRect& rect) {
    // An empty old rectangle cannot be scaled from: children then keep their size on that axis and only
    // follow the move.
    const float oldWidth = m_rect.getWidth();
    const float oldHeight = m_rect.getHeight();
    const float sx = oldWidth != 0.0f ? rect.getWidth() / oldWidth : 1.0f;
    const float sy = oldHeight != 0.0f ? rect.getHeight() / oldHeight : 1.0f;
    const float ox = rect.getX1() - m_rect.getX1() * sx;
    const float oy = rect.getY1() - m_rect.getY1() * sy;
    for (auto& child : m_children) {
        const VDRect& r = child->m_rect;
        child->setRectangle(
            VDRect(r.getX1() * sx + ox, r.getY1() * sy + oy, r.getX2() * sx + ox, r.getY2() * sy + oy));
    }
    m_rect.copyFrom(rect);
}

int VDWindow::addChild(std::unique_ptr<VDWindow> child) {
    VDWindow* raw = child.get();
    m_children.push_back(std::move(child));
    addListener(raw);
    return getChildCount() - 1;
}

void VDWindow::setParent(VDWindow* parent) {
    m_parent = parent;
    setParentListener(parent);
}

VDWindow* VDWindow::getChild(int index) const {
    if (index < 0 || index >= getChildCount()) {
        return nullptr;
    }
    return m_children[index].get();
}

bool VDWindow::dispatch(VDEvent* event) {
    if (m_focusIndex >= 0 && m_focusIndex < getChildCount()) {
        VDWindow* focused = m_children[m_focusIndex].get();
        if (!focused->m_focused) {
            for (auto& child : m_children) {
                child->m_focused = false;
            }
            focused->m_focused = true;
            VDRedisplayRequestEvent request;
            dispatch(&request);
        }
        if (sendToListener(event, m_focusIndex)) {
            return true;
        }
    }
    VDEventGenerator::dispatch(event);
    return false;
}

void VDWindow::requestRedisplay() {
    VDRedisplayRequestEvent request;
    dispatch(&request);
}
