#include "view3d/Orientation.h"

Vector3 Orientation::getForward() {
    update();
    return Vector3(static_cast<float>(-m_matrix[8]), static_cast<float>(-m_matrix[9]),
                   static_cast<float>(-m_matrix[10]));
}

Vector3 Orientation::getRight() {
    update();
    return Vector3(static_cast<float>(m_matrix[0]), static_cast<float>(m_matrix[1]),
                   static_cast<float>(m_matrix[2]));
}

Vector3 Orientation::getUp() {
    update();
    return Vector3(static_cast<float>(m_matrix[4]), static_cast<float>(m_matrix[5]),
                   static_cast<float>(m_matrix[6]));
}

RPYOrientation::RPYOrientation() {
    update();
}

void RPYOrientation::update() {
    if (!m_dirty) {
        return;
    }
    m_matrix = multiply(multiply(rotationMatrix(m_yaw, 0, 1, 0), rotationMatrix(m_pitch, 1, 0, 0)),
                        rotationMatrix(m_roll, 0, 0, 1));
    m_dirty = false;
}

void RPYOrientation::setYaw(float yaw) {
    if (yaw != m_yaw) {
        m_yaw = yaw;
        m_dirty = true;
    }
}

void RPYOrientation::setPitch(float pitch) {
    if (pitch != m_pitch) {
        m_pitch = pitch;
        m_dirty = true;
    }
}

void RPYOrientation::setRoll(float roll) {
    if (roll != m_roll) {
        m_roll = roll;
        m_dirty = true;
    }
}

void TargetOrientation::update() {
    if (!m_dirty) {
        return;
    }
    Vector3 f = normalise(m_target - m_eye);
    Vector3 s = normalise(cross(f, m_up));
    Vector3 u = cross(s, f);
    m_matrix[0] = s.x;
    m_matrix[1] = s.y;
    m_matrix[2] = s.z;
    m_matrix[4] = u.x;
    m_matrix[5] = u.y;
    m_matrix[6] = u.z;
    m_matrix[8] = -f.x;
    m_matrix[9] = -f.y;
    m_matrix[10] = -f.z;
    m_dirty = false;
}

void TargetOrientation::set(const Vector3& target, const Vector3& eye, const Vector3& up) {
    if (target != m_target) {
        m_target = target;
        m_dirty = true;
    }
    if (eye != m_eye) {
        m_eye = eye;
        m_dirty = true;
    }
    if (up != m_up) {
        m_up = up;
        m_dirty = true;
    }
}
