#include "gui/VDKey.h"

VDKey::~VDKey() = default;

VDKey& VDKey::addShift() {
    m_value |= KEY_SHIFT;
    return *this;
}

VDKey& VDKey::addControl() {
    m_value |= KEY_CONTROL;
    return *this;
}

VDKey& VDKey::addAlt() {
    m_value |= KEY_ALT;
    return *this;
}
