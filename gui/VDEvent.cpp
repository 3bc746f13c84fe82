#include "gui/VDEvent.h"

VDEvent::~VDEvent() = default;

void VDRedisplayEvent::assignType() {
    m_type = REDISPLAY;
}
void VDResizeEvent::assignType() {
    m_type = RESIZE;
}
void VDMouseMoveEvent::assignType() {
    m_type = MOUSE_MOVE;
}
void VDMouseUpEvent::assignType() {
    m_type = MOUSE_UP;
}
void VDMouseDownEvent::assignType() {
    m_type = MOUSE_DOWN;
}
void VDKeyUpEvent::assignType() {
    m_type = KEY_UP;
}
void VDKeyDownEvent::assignType() {
    m_type = KEY_DOWN;
}
void VDRedisplayRequestEvent::assignType() {
    m_type = REDISPLAY_REQUEST;
}
void VDScrollValueEvent::assignType() {
    m_type = SCROLL_VALUE;
}
void VDButtonPressEvent::assignType() {
    m_type = BUTTON_PRESS;
}
void VDCloseEvent::assignType() {
    m_type = CLOSE;
}
