#include "gui/VDButton.h"

#include "gui/VDEvent.h"

VDButton::VDButton() = default;
VDButton::~VDButton() = default;

void VDButton::setFocused(bool focused) {
    m_focused = focused;
    if (!focused) {
        m_pressed = false;
    }
}

void VDButton::complete() {
    m_pressed = false;
    requestRedisplay();
    VDButtonPressEvent press(m_id);
    dispatch(&press);
}

bool VDButton::handleEvent(VDEvent* event) {
    switch (event->getType()) {
        case VDEvent::MOUSE_MOVE: {
            auto* move = dynamic_cast<VDMouseMoveEvent*>(event);
            if (move == nullptr) {
                break;
            }
            const bool inside =
                m_rect.contains(static_cast<float>(move->getX()), static_cast<float>(move->getY()));
            if (inside && !m_hover) {
                m_hover = true;
                requestRedisplay();
            } else if (!inside && m_hover) {
                m_hover = false;
                m_pressed = false;
                requestRedisplay();
            }
            break;
        }
        case VDEvent::MOUSE_DOWN:
        case VDEvent::MOUSE_UP: {
            auto* button = dynamic_cast<VDMouseButtonEvent*>(event);
            if (button == nullptr || button->getButton() != VDMouseButtonEvent::LEFT ||
                !m_rect.contains(static_cast<float>(button->getX()), static_cast<float>(button->getY()))) {
                break;
            }
            if (event->getType() == VDEvent::MOUSE_DOWN && !m_pressed) {
                m_pressed = true;
                requestRedisplay();
                return true;
            }
            if (event->getType() == VDEvent::MOUSE_UP && m_pressed) {
                complete();
                return true;
            }
            break;
        }
        case VDEvent::KEY_DOWN:
        case VDEvent::KEY_UP: {
            auto* key = dynamic_cast<VDKeyEvent*>(event);
            if (!m_focused || key == nullptr || key->getKey().getValue() != VDKey::KEY_ENTER) {
                break;
            }
            if (event->getType() == VDEvent::KEY_DOWN && !m_pressed) {
                m_pressed = true;
                requestRedisplay();
            } else if (event->getType() == VDEvent::KEY_UP && m_pressed) {
                complete();
                return true;
            }
            break;
        }
        default:
            break;
    }
    return dispatch(event);
}

void VDButton::inputLost() {
    m_pressed = false;
    VDWindow::inputLost();
}
