#pragma once

#include "scene/BoundingBox.h"
#include "scene/Vector3.h"
#include "view3d/Orientation.h"
#include "view3d/VDCamera.h"

// A camera placed at an eye position and turned by yaw, pitch and roll (degrees); it moves along its own
// axes. With all angles 0 it looks along -Z with +Y up. Angles are neither clamped nor wrapped.
class VDFirstPersonCamera : public VDCamera {
  public:
    VDFirstPersonCamera() = default;
    // The inverse of the placement: Rz(-roll) · Rx(-pitch) · Ry(-yaw) · T(-position).
    void updateView() override;
    ~VDFirstPersonCamera() override;

    // Returns whether the position changed.
    bool setPosition(const Vector3& position);
    const Vector3& getPosition() const { return m_eyePosition; }

    // Distances along the camera's forward (where it looks), right and up axes.
    void move(float forward, float side, float up);

    // Angle increments in degrees; a delta of exactly 0 changes nothing.
    void changeYaw(float delta);
    void changePitch(float delta);
    void changeRoll(float delta);

    // Absolute angles in degrees.
    void setAngles(float yaw, float pitch, float roll);

    // Looks at the box from its front (along -Z), tilted down by `downDegrees`, from as close as keeps
    // all of it inside the view with a margin; moves the far plane out when the box reaches past it.
    void fitBox(const BoundingBox& box, float downDegrees);

    float getYaw() const { return m_orientation.getYaw(); }
    float getPitch() const { return m_orientation.getPitch(); }
    float getRoll() const { return m_orientation.getRoll(); }
    RPYOrientation& getOrientation() { return m_orientation; }

  private:
    Vector3 m_eyePosition;
    RPYOrientation m_orientation;
};
