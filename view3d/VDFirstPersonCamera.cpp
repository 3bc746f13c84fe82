#include "view3d/VDFirstPersonCamera.h"

VDFirstPersonCamera::~VDFirstPersonCamera() = default;

void VDFirstPersonCamera::updateView() {
    Matrix4 m = rotationMatrix(-m_orientation.getRoll(), 0, 0, 1);
    m = multiply(m, rotationMatrix(-m_orientation.getPitch(), 1, 0, 0));
    m = multiply(m, rotationMatrix(-m_orientation.getYaw(), 0, 1, 0));
    m_viewMatrix = multiply(m, translationMatrix(-m_eyePosition.x, -m_eyePosition.y, -m_eyePosition.z));
}

bool VDFirstPersonCamera::setPosition(const Vector3& position) {
    if (position == m_eyePosition) {
        return false;
    }
    m_eyePosition = position;
    m_viewDirty = true;
    return true;
}

void VDFirstPersonCamera::move(float forward, float side, float up) {
    if (forward != 0.0f) {
        m_eyePosition += m_orientation.getForward() * forward;
        m_viewDirty = true;
    }
    if (side != 0.0f) {
        m_eyePosition += m_orientation.getRight() * side;
        m_viewDirty = true;
    }
    if (up != 0.0f) {
        m_eyePosition += m_orientation.getUp() * up;
        m_viewDirty = true;
    }
}

void VDFirstPersonCamera::changeYaw(float delta) {
    if (delta != 0.0f) {
        m_viewDirty = true;
        m_orientation.setYaw(m_orientation.getYaw() + delta);
    }
}

void VDFirstPersonCamera::changePitch(float delta) {
    if (delta != 0.0f) {
        m_viewDirty = true;
        m_orientation.setPitch(m_orientation.getPitch() + delta);
    }
}

void VDFirstPersonCamera::changeRoll(float delta) {
    if (delta != 0.0f) {
        m_viewDirty = true;
        m_orientation.setRoll(m_orientation.getRoll() + delta);
    }
}
