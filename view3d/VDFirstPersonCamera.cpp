#include "view3d/VDFirstPersonCamera.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.141592653589793;
// Share of the view's half-width and half-height the box may fill; less upwards, so that the names
// written above the blocks stay clear of the button strip along the window's top.
constexpr float kFitWidth = 0.9f;
constexpr float kFitHeight = 0.75f;
}  // namespace

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

void VDFirstPersonCamera::setAngles(float yaw, float pitch, float roll) {
    m_orientation.setYaw(yaw);
    m_orientation.setPitch(pitch);
    m_orientation.setRoll(roll);
    m_viewDirty = true;
}

void VDFirstPersonCamera::fitView(const BoundingBox& box, float yaw, float pitch,
                                  const VDViewFit::Frame& frame) {
    setAngles(yaw, pitch, 0.0f);
    setFieldOfView(kFitFieldOfView);
    const Vector3 forward = m_orientation.getForward();
    const float tanHalfHeight =
        static_cast<float>(std::tan(static_cast<double>(m_fieldOfView) / 180.0 * kPi / 2.0));
    setPosition(VDViewFit::eyeFor(box, forward, m_orientation.getRight(), m_orientation.getUp(),
                                  tanHalfHeight * m_aspectRatio, tanHalfHeight, frame, 2.0f * m_nearPlane));
    float farthest = 0.0f;
    for (int corner = 0; corner < 8; ++corner) {
        farthest = std::max(farthest, (box.getCorner(corner) - m_eyePosition).dot(forward));
    }
    if (farthest > m_farPlane * 0.9f) {
        setFarPlane(farthest * 1.25f);
    }
}

void VDFirstPersonCamera::orbit(const Vector3& centre, float yawChange, float pitchChange, bool aim) {
    const Vector3 offset = m_eyePosition - centre;
    const float alongRight = offset.dot(m_orientation.getRight());
    const float alongUp = offset.dot(m_orientation.getUp());
    const float alongForward = offset.dot(m_orientation.getForward());
    const float pitch = m_orientation.getPitch();
    float newPitch = std::clamp(pitch + pitchChange, -kOrbitPitchLimit, kOrbitPitchLimit);
    // A camera already past the limit (looking straight down from the top view, or turned there by hand) is
    // not pulled back by an orbit, and not pushed further; an orbit towards the horizontal turns it.
    if (pitch > kOrbitPitchLimit) {
        newPitch = pitchChange < 0.0f ? std::max(pitch + pitchChange, -kOrbitPitchLimit) : pitch;
    } else if (pitch < -kOrbitPitchLimit) {
        newPitch = pitchChange > 0.0f ? std::min(pitch + pitchChange, kOrbitPitchLimit) : pitch;
    }
    setAngles(m_orientation.getYaw() + yawChange, newPitch, m_orientation.getRoll());
    if (aim) {
        setPosition(centre - m_orientation.getForward() * offset.length());
        return;
    }
    setPosition(centre + m_orientation.getRight() * alongRight + m_orientation.getUp() * alongUp +
                m_orientation.getForward() * alongForward);
}

bool VDFirstPersonCamera::moveTowards(const Vector3& point, float share) {
    if (!(share < 1.0f) || share == 0.0f) {
        return false;
    }
    return setPosition(m_eyePosition + (point - m_eyePosition) * share);
}

void VDFirstPersonCamera::fitBox(const BoundingBox& box, float downDegrees) {
    setAngles(0.0f, -downDegrees, 0.0f);
    const Vector3 forward = m_orientation.getForward();
    const Vector3 right = m_orientation.getRight();
    const Vector3 up = m_orientation.getUp();
    const float tanHalfView =
        static_cast<float>(std::tan(static_cast<double>(m_fieldOfView) / 180.0 * kPi / 2.0));
    const float tanVertical = tanHalfView * kFitHeight;
    const float tanHorizontal = tanHalfView * m_aspectRatio * kFitWidth;
    const Vector3 centre = box.getCentre();
    // Each corner at depth a + d along the view (d: the eye's distance behind the centre) must see its
    // sideways and upward offsets within the view's slopes, and lie well past the near plane.
    float distance = 0.0f;
    float deepest = 0.0f;
    for (int corner = 0; corner < 8; ++corner) {
        const Vector3 offset = box.getCorner(corner) - centre;
        const float ahead = offset.dot(forward);
        distance = std::max(distance, std::fabs(offset.dot(right)) / tanHorizontal - ahead);
        distance = std::max(distance, std::fabs(offset.dot(up)) / tanVertical - ahead);
        distance = std::max(distance, 2.0f * m_nearPlane - ahead);
        deepest = std::max(deepest, ahead);
    }
    setPosition(centre - forward * distance);
    const float farthest = deepest + distance;
    if (farthest > m_farPlane * 0.9f) {
        setFarPlane(farthest * 1.25f);
    }
}
